// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/random.h"
#include "ui/main/application.h"
#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace cr::testing {

// Every draw gives 7: red, manque, odd.
class Sevens final : public RandomSource {
public:
    void seedFromClock() override {}
    double next() override { return (7 + 0.5) / 37.0; }
};

// The real main window, shown offscreen, under German regional settings.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        window = ui::createMainWindow(random, QCoreApplication::applicationDirPath());
        window->show();
        QApplication::setActiveWindow(window.get());
        QCoreApplication::processEvents();
    }
    template <typename T = QWidget> T* find(const char* name) const {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void typeInto(const char* box, const QString& text) { find<QLineEdit>(box)->setText(text); }
    void startRun(const char* spins, const char* steprate) {
        typeInto("textanzahl", QString::fromLatin1(spins));
        typeInto("textwiederhol", QString::fromLatin1(steprate));
        find<QPushButton>("okstart")->click();
    }
    // "Abbruch", its question answered Yes.
    void abbruch() {
        QTimer::singleShot(0, window.get(), [this] {
            if (auto* box = window->findChild<QMessageBox*>()) {
                box->button(QMessageBox::Yes)->click();
            }
        });
        find<QPushButton>("okabbrechen")->click();
    }

    Sevens random;
    std::unique_ptr<ui::MainWindow> window;
};

} // namespace cr::testing
