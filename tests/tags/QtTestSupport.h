#pragma once
// One QGuiApplication for the tests that decode images or register fonts.

#include "app/platform/qt/QtMedia.h"

#include <QGuiApplication>

namespace tagtest {
inline void EnsureQtMedia() {
    static int argc = 1;
    static char name[] = "test_tags";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Kept for the life of the process: destroying it among the static destructors
        // would outlive parts of Qt it needs.
        new QGuiApplication(argc, argv);
    }
    InstallQtMediaServices();
}
} // namespace tagtest
