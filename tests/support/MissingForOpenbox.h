#pragma once
// What a display with a window manager (xvfb-run and openbox) needs and
// this machine lacks, or nothing: the tests that run under one skip,
// naming the package, where it is missing.
#include <QStandardPaths>
#include <QString>

#include <string>

inline std::string MissingForOpenbox()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
        return "xvfb-run is not installed (package xvfb)";
    if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
        return "openbox is not installed (package openbox)";
    return {};
}
