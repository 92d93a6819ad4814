// Test entry: a QApplication for every test, headless; an unanswered dialog or message fails the test.
#include "platform/modal.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    setUnscriptedReport([](const std::string& what) { ADD_FAILURE() << what; });
    return RUN_ALL_TESTS();
}
