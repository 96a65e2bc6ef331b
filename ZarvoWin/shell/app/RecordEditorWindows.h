#pragma once

class CZarvoWinApp;

// Hooks the record editors into the application: the project, activity,
// rate and favourite editors, the copy of a project and the name prompt
// become the openers the commands and panes call, and the editors get the
// application's pictures and the reload of the rates branch. The program
// calls it once, before the start-up.
void RegisterRecordEditors(CZarvoWinApp &app);
