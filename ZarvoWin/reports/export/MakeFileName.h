#pragma once
#include <QString>

// A report's name made fit for a file name: every character a file name
// cannot hold on any desktop (" / \ : < > ? * |) is left out.
QString MakeFileName(const QString &name);
