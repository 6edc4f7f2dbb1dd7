#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "edit/random.h"
#include "support/test_dialogs.h"
#include "ui/qt/application.h"
#include "ui/qt/image_view.h"
#include "ui/qt/main_window.h"
#include "ui/qt/wave_list.h"

namespace morvane::testing {

using testing_support::TestDialogs;

// A started main window over scripted dialogs and a fixed clock, shown and active, so that
// shortcuts and the keyboard work as on screen.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (auto *app = qobject_cast<qt::TApplication *>(QCoreApplication::instance()))
            app->SetErrorDialogs(&dialogs);
        qt::MainWindowPorts ports;
        ports.dialogs = &dialogs;
        ports.clock = &clock;
        window = std::make_unique<qt::TfrmMain>(ports);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override {
        window.reset();
        if (auto *app = qobject_cast<qt::TApplication *>(QCoreApplication::instance()))
            app->SetErrorDialogs(nullptr);
    }

    TestDialogs dialogs;
    edit::FixedClock clock{edit::TimeOfDay{1, 2, 3, 4}};
    std::unique_ptr<qt::TfrmMain> window;
};

} // namespace morvane::testing
