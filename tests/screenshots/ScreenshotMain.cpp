// Renders every registered scene light and dark into PNGs (see Screenshots.h). Arguments: the
// output folder (default "screenshots") and optional name filters (a scene is drawn when its
// name contains one of them).

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QPointer>
#include <QStyleFactory>
#include <QtPlugin>

#include "app/ui/kit/Theme.h"
#include "tests/platform/linux/QtRest.h"
#include "tests/screenshots/Screenshots.h"

// The charts are a plugin of the program; the screenshots link it in.
Q_IMPORT_PLUGIN(HealthChartsPlugin)

using namespace solvara;

int main(int argc, char** argv) {
    setenv("TZ", "UTC", 1);
    tzset();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    QApplication::setFont(font);

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString folder = arguments.isEmpty() ? QString("screenshots") : arguments.front();
    const QStringList filters = arguments.mid(1);
    QDir().mkpath(folder);

    int written = 0;
    for (const screenshots::Scene& scene : screenshots::scenes()) {
        const QString name = QString::fromStdString(scene.name);
        if (!filters.isEmpty() &&
            std::none_of(filters.begin(), filters.end(), [&](const QString& f) { return name.contains(f); })) {
            continue;
        }
        for (const bool dark : {false, true}) {
            std::cerr << "screenshots: " << scene.name << (dark ? " dark" : " light") << "\n";
            Theme::applyToApplication(dark);
            screenshots::SceneContext context(dark);
            std::unique_ptr<QWidget> widget = scene.build(context);
            if (!widget) continue;
            Theme::apply(widget.get(), dark);
            widget->setAutoFillBackground(true);
            int height = scene.size.height();
            if (height <= 0) {
                widget->setFixedWidth(scene.size.width());
                widget->ensurePolished();
                height = widget->hasHeightForWidth() ? widget->heightForWidth(scene.size.width())
                                                     : widget->sizeHint().height();
            }
            widget->resize(scene.size.width(), height);
            widget->show();
            // A picture of the view at rest, not of whatever frame a busy machine drew.
            std::vector<std::string> moving = testing::bringToRest();
            if (moving.empty() && scene.size.height() <= 0) {
                // The layout has settled: take its final height.
                widget->adjustSize();
                widget->resize(scene.size.width(), widget->height());
                moving = testing::bringToRest();
            }
            if (!moving.empty()) {
                std::cerr << "screenshots: " << scene.name << " never comes to rest:";
                for (const std::string& item : moving) std::cerr << "\n  " << item;
                std::cerr << "\n";
                return 1;
            }
            const QString path = folder + "/" + name + (dark ? "-dark.png" : "-light.png");
            if (!widget->grab().save(path)) {
                std::cerr << "screenshots: cannot write " << path.toStdString() << "\n";
                return 1;
            }
            ++written;
            // Everything the scene made goes before its state does: widgets deleted later and
            // windows of their own would otherwise hear the next scene's palette change and read a
            // state that is gone.
            widget.reset();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QList<QPointer<QWidget>> leftovers;
            for (QWidget* leftover : QApplication::topLevelWidgets()) leftovers << leftover;
            for (const QPointer<QWidget>& leftover : leftovers) delete leftover.data();  // a parent may take its child
            QCoreApplication::processEvents();
        }
    }
    std::cout << "screenshots: " << written << " pictures in " << folder.toStdString() << "\n";
    return 0;
}
