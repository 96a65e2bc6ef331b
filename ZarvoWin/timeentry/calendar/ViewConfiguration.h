#pragma once

class CConfiguration;

// The settings the calendar windows format and lay out with: the
// application's settings object, or the defaults while none is set (a
// window shown before the settings are loaded, a test).
const CConfiguration &ViewConfiguration();
