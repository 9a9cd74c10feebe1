// What a screen reader can reach in each view: the accessible tree walked from the window down,
// as an assistive technology walks it over AT-SPI.

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocumentFragment>

#include "app/state/AppState.h"
#include "app/state/CityLocation.h"
#include "app/ui/breaks/BreakOverlayView.h"
#include "app/ui/breaks/BreakOverlayWindow.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/onboarding/OnboardingFlow.h"
#include "app/ui/popover/MenuBarPopover.h"
#include "app/ui/science/ScienceCard.h"
#include "app/ui/science/ScienceView.h"
#include "app/ui/settings/MainWindow.h"
#include "app/ui/settings/SettingsTab.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "platform/fake/FakePlatform.h"
#include "tests/app/ui/HeldLoops.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara::testing {
namespace {

// 2026-06-21 19:00 UTC: a summer evening in Berlin, with the evening readouts showing.
constexpr double evening = 804038400.0 + 19 * 3600.0;

// How many of `text`'s code points are private-use ones, such as the icon font's glyphs.
qsizetype privateUse(const QString& text) {
    const QList<uint> points = text.toUcs4();
    return std::count_if(points.begin(), points.end(),
                         [](uint c) { return (c >= 0xE000 && c <= 0xF8FF) || c >= 0xF0000; });
}

// Everything an interface tells a screen reader in words.
QStringList exposed(QAccessibleInterface* node) {
    QStringList texts{node->text(QAccessible::Name), node->text(QAccessible::Description),
                      node->text(QAccessible::Value)};
    if (QAccessibleTextInterface* text = node->textInterface()) texts << text->text(0, text->characterCount());
    texts.removeAll(QString());
    return texts;
}

// What `widget` shows as text, as a reader would see it: without markup or mnemonics, and up to
// an ellipsis where it is elided.
QString shownText(const QWidget& widget) {
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        text = label->textFormat() == Qt::RichText ||
                       (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()))
                   ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                   : label->text();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        text = button->text();
        text.replace(QRegularExpression("&(.)"), "\\1");
    }
    text = text.simplified();
    if (const qsizetype ellipsis = text.indexOf(QChar(0x2026)); ellipsis >= 0) text.truncate(ellipsis);
    return text;
}

std::string describe(const QObject* object) {
    const QString name = object->objectName();
    return std::string(object->metaObject()->className()) + (name.isEmpty() ? "" : " " + name.toStdString());
}

class AccessibleTreeTest;

struct ViewCase {
    std::string name;
    // Builds and shows the view; answers its window.
    std::function<QWidget*(AccessibleTreeTest&)> open;
    // Changes what the view shows; empty: the state moves on by three hours in another city.
    std::function<void(AccessibleTreeTest&)> change;
};

void PrintTo(const ViewCase& view, std::ostream* out) {
    *out << view.name;
}

class AccessibleTreeTest : public ::testing::TestWithParam<ViewCase> {
public:
    AccessibleTreeTest() {
        state.setLocationSource(LocationSource::manual);
        state.setSelectedCity(*CityLocation::preset("Berlin"));
        state.setCoordinate(Coordinate{52.52, 13.405});
        state.updateCircadianState();
        state.setBreaksEnabled(true);
        state.tickBreakTimer();
        for (int ago = 1; ago <= 14; ++ago) {
            const std::string day = Calendar::dayKey(*Calendar::addingDays(-ago, Clock::now()));
            state.healthHistory().recordDay(day, 4.0 + ago % 3, 10.0 + ago, 0.7, 6, 2, 70 + ago, 1 + ago % 5);
        }
        state.setLightDebtPoints(23.4);
        state.setLightDebtLevel("medium");
        state.setScreenTimeToday(3.75);
        state.setSleepQualityRating(4);
        state.setLastSleepRatingDate(Calendar::dayKey(Clock::now()));
    }

    // Lets the view take in what changed and come to rest; the welcome page's sun, the warm
    // screen and the breathing circle go round for as long as they are shown, and stand still
    // meanwhile.
    void settle() {
        const HeldLoops held;
        testing::settle();
    }

    void moveOn() {
        fakes.runLoop.advance(3 * 3600.0);
        state.setSelectedCity(*CityLocation::preset("Tokyo"));
        state.setCoordinate(Coordinate{35.68, 139.69});
        state.updateCircadianState();
        state.tickBreakTimer();
        state.setLightDebtPoints(41.2);
        state.setScreenTimeToday(5.5);
    }

    template <class View>
    View* own(std::unique_ptr<View> made) {
        View* view = made.get();
        window = std::move(made);
        return view;
    }

    // Every failure of the tree under `window`, one line each.
    static QStringList offences(QWidget& window) {
        QStringList found;
        std::map<const QObject*, QStringList> said;
        std::function<void(QAccessibleInterface*, int)> visit = [&](QAccessibleInterface* node, int depth) {
            if (node == nullptr || !node->isValid() || depth > 64) return;
            const QStringList texts = exposed(node);
            for (const QString& text : texts) {
                if (privateUse(text) > 0) {
                    found << QString::fromStdString(describe(node->object())) + " exposes a symbol glyph: " + text;
                }
            }
            said[node->object()] += texts;
            for (int i = 0; i < node->childCount(); ++i) visit(node->child(i), depth + 1);
        };
        visit(QAccessible::queryAccessibleInterface(&window), 0);

        // A shown text must reach the reader through the widget that shows it or one around it.
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(&window)) continue;
            const QString text = shownText(*widget);
            if (privateUse(text) == text.toUcs4().size()) continue;  // nothing, or only symbol glyphs
            bool heard = false;
            for (const QObject* at = widget; at != nullptr && !heard; at = at->parent()) {
                const auto it = said.find(at);
                if (it == said.end()) continue;
                for (const QString& words : it->second) heard = heard || words.simplified().contains(text);
            }
            if (!heard) {
                const QStringList own = said.count(widget) != 0 ? said[widget] : QStringList();
                found << QString::fromStdString(describe(widget)) + " shows \"" + text + "\" but exposes [" +
                             own.join(" | ") + "]";
            }
        }
        return found;
    }

    FakePlatform fakes{Date(evening)};
    AppState state{fakes.platform()};
    FakeUiServices ui;
    std::unique_ptr<QWidget> window;
};

TEST_P(AccessibleTreeTest, EveryShownTextReachesAScreenReaderAndNoSymbolGlyphDoes) {
    QAccessible::setActive(true);
    const ViewCase& view = GetParam();
    QWidget* top = view.open(*this);
    ASSERT_NE(top, nullptr);
    settle();
    const QStringList before = offences(*top);
    EXPECT_TRUE(before.isEmpty()) << before.join("\n").toStdString();

    view.change ? view.change(*this) : moveOn();
    settle();
    const QStringList after = offences(*top);
    EXPECT_TRUE(after.isEmpty()) << "after a change:\n" << after.join("\n").toStdString();
}

QWidget* mainWindowAt(AccessibleTreeTest& test, SettingsTab tab) {
    test.state.setHasCompletedOnboarding(true);
    auto* main = test.own(std::make_unique<MainWindow>(test.state, test.ui.services()));
    main->present();
    main->showTab(tab);
    return main;
}

QWidget* onboardingPage(AccessibleTreeTest& test, int step) {
    auto* flow = test.own(std::make_unique<OnboardingFlow>(test.state, test.ui.services()));
    flow->show();
    test.settle();
    for (int i = 0; i < step; ++i) {
        QTest::mouseClick(flow->page(flow->currentStep())->findChild<QAbstractButton*>("onboardingNext"),
                          Qt::LeftButton);
        test.settle();
    }
    EXPECT_EQ(flow->currentStep(), step);
    return flow;
}

QWidget* breakWindow(AccessibleTreeTest& test, BreakScreenType type) {
    auto* window = test.own(std::make_unique<BreakOverlayWindow>(Rect{0, 0, 1280, 800}, BreakWindowContent{type, 20},
                                                                 Theme::light(), [] {}));
    window->show();
    return window;
}

void countDown(AccessibleTreeTest& test) {
    auto* window = static_cast<BreakOverlayWindow*>(test.window.get());
    window->setContent({window->view()->breakScreenType(), 9});
}

std::vector<ViewCase> views() {
    std::vector<ViewCase> cases{
        {"Popover",
         [](AccessibleTreeTest& test) -> QWidget* {
             auto* popover = test.own(std::make_unique<MenuBarPopover>(test.state, test.ui.services()));
             popover->show();
             return popover;
         },
         {}},
        {"ScienceCardsOpen",
         [](AccessibleTreeTest& test) -> QWidget* {
             auto* science = test.own(std::make_unique<ScienceView>(test.state, test.ui.services()));
             science->resize(732, 900);
             science->show();
             for (int card = 0; card < ScienceView::cardCount; ++card) {
                 QTest::mouseClick(science->card(card)->findChild<QAbstractButton*>("scienceCardHeader"),
                                   Qt::LeftButton);
             }
             SOLVARA_EXPECT_EVENTUALLY(science->card(ScienceView::cardCount - 1)->chart() != nullptr);
             return science;
         },
         {}},
    };
    for (const SettingsTabInfo& tab : settingsTabs) {
        cases.push_back({"Tab" + std::string(tab.title),
                         [which = tab.tab](AccessibleTreeTest& test) { return mainWindowAt(test, which); },
                         {}});
    }
    const char* pages[] = {"FirstRunWelcome", "FirstRunSolarDemo", "FirstRunSchedule", "FirstRunPermissions"};
    for (int step = 0; step < OnboardingFlow::totalSteps; ++step) {
        cases.push_back({pages[step], [step](AccessibleTreeTest& test) { return onboardingPage(test, step); }, {}});
    }
    const std::pair<const char*, BreakScreenType> overlays[] = {
        {"BreakWindowSimpleText", BreakScreenType::simpleText},
        {"BreakWindowExercisePrompts", BreakScreenType::exercisePrompts},
        {"BreakWindowNatureImage", BreakScreenType::natureImage},
        {"BreakWindowBreathing", BreakScreenType::breathingAnimation},
    };
    for (const auto& [name, type] : overlays) {
        cases.push_back({name, [type](AccessibleTreeTest& test) { return breakWindow(test, type); }, countDown});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Views, AccessibleTreeTest, ::testing::ValuesIn(views()),
                         [](const ::testing::TestParamInfo<ViewCase>& info) { return info.param.name; });

}  // namespace
}  // namespace solvara::testing
