#pragma once
#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <memory>

// Gives every test its own HOME, XDG folders, runtime folder and settings
// file, and restores the clock after it.
class TestEnvironment : public ::testing::EmptyTestEventListener
{
public:
    void OnTestStart(const ::testing::TestInfo &info) override;
    void OnTestEnd(const ::testing::TestInfo &info) override;

    static QString currentRoot();
    // Points HOME and the XDG variables below `root`, creating the folders.
    static void pointEnvironmentAt(const QString &root);

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};
