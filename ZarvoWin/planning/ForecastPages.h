#pragma once

class CForecastPage;
class QWidget;

// The project editor's planning pages by tab (0 general, 1 planning,
// 2 predecessors), made as children of `parent`; null for the notes tab,
// which the editor keeps its own. The program registers it as the
// editor's page factory (RecordEditorServices::forecastPage).
CForecastPage *MakeForecastPage(int tab, QWidget *parent);
