#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>
#include <QApplication>
#include <QFont>
#include <QtPlugin>

// The charts are a plugin of the program; the tests link it in.
Q_IMPORT_PLUGIN(HealthChartsPlugin)

// The widget tests run on Qt's offscreen platform with the program's application font. The
// application lives on main's stack: one destroyed among the statics at exit would outlive Qt's
// own font database (the icon font is an application font) and crash there.
int main(int argc, char** argv) {
    setenv("TZ", "UTC", 1);
    tzset();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    QApplication::setFont(font);
    return RUN_ALL_TESTS();
}
