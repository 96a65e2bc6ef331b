#pragma once

class CZarvoWinApp;

// Hooks the report store into the application: the kind of a report
// before it opens, the list of reports on screen saved at a change of user
// (and at the close) and reopened after it, and the start-up steps that
// load the column captions, prepare the placeholder table and reopen the
// reports of the last run, each window opened as restored through
// CZarvoWinApp::OpenReport. The program calls it once, before the
// start-up.
void RegisterReports(CZarvoWinApp &app);
