#pragma once

#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "editor/drawtool.h"
#include "editor/drawview.h"
#include "model/config.h"
#include "services/apppaths.h"
#include "services/appsettings.h"
#include "services/editorsettings.h"
#include "support/isolatedsettings.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// The objects a test process shares however many test functions it runs:
// the project configuration, the screens and their name counters, the
// drawing tool, the zoom every view follows, the stored settings and the
// clipboard. start() from init() and finish() from cleanup() give each test
// function the process as a fresh start has it, so no test depends on what
// the one before left behind. The settings store itself is a folder of
// this process (isolatedsettings.h).
class ProcessFixture
{
public:
    // A fresh start: no screens or scripts, a new, empty configuration in
    // the Chinese interface without the start-up new-project dialog, screens
    // of the given size (-1 as before any project is open), screen names
    // counting from 1, the selection tool in single-insert mode, 100 % zoom
    // and the default editing aids (grid, no snapping, no lock). Suites also
    // call it within a test to start over.
    static void start(int screenWidth = -1, int screenHeight = -1)
    {
        DrawManager::instance()->clear();
        Config *config = Config::instance();
        config->reset();
        AppSettings::instance()->setLanguage(0);
        AppSettings::instance()->setShowNew(false);
        config->screenWidth = screenWidth;
        config->screenHeight = screenHeight;
        DrawScene::resetScreenCounters();
        DrawTool::currentShape = 0;
        DrawTool::continuousInsert = false;
        DrawView(nullptr).setZoom(1.0);
        EditorSettings::instance()->setValues(EditorSettings::Values());
    }

    // Call once the test's own windows and scenes are gone: drops the screens
    // and scripts still registered, the current view, widgets waiting for
    // deletion, the zoom and the clipboard.
    static void finish()
    {
        DrawManager::instance()->clear();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DrawView(nullptr).setZoom(1.0);
        QApplication::clipboard()->clear();
    }

    // Closes the window's project, then the window, as the user quitting.
    template<typename Window>
    static void close(std::unique_ptr<Window> &window)
    {
        if (!window)
            return;
        window->projectController()->closeProject();
        window.reset();
    }

    // Makes root/bin the working folder, standing in for the executable's:
    // the settings file is then root/config/config.ini.
    static void enterBinFolder(const QTemporaryDir &root)
    {
        QDir(root.path()).mkpath(QStringLiteral("bin"));
        QDir::setCurrent(QDir(root.path()).filePath(QStringLiteral("bin")));
    }

    // Forgets the recent projects, the crash record and the settings file.
    static void forgetSettings()
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ZEL"),
                  QStringLiteral("Marovin"))
            .clear();
        QFile::remove(AppPaths::settingsFile());
    }
};
