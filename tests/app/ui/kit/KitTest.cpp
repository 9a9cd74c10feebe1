#include <optional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QAccessible>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include "app/state/AppState.h"
#include "app/ui/kit/Dot.h"
#include "app/ui/kit/Picker.h"
#include "app/ui/kit/StateSignals.h"
#include "app/ui/kit/SteppedSlider.h"
#include "app/ui/kit/StyledLabel.h"
#include "app/ui/kit/Switch.h"
#include "app/ui/kit/SymbolView.h"
#include "app/ui/kit/Symbols.h"
#include "app/ui/kit/Theme.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "platform/fake/FakePlatform.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara::testing {
namespace {

TEST(StateSignalsTest, ManyChangesInOneTurnRefreshOnceOnTheNextTurn) {
    FakePlatform fakes;
    AppState state(fakes.platform());
    StateSignals bridge(state);
    QSignalSpy changed(&bridge, &StateSignals::stateChanged);
    QSignalSpy breaks(&bridge, &StateSignals::breakStateChanged);

    state.setIsEnabled(false);
    state.setCurrentMode(DisplayMode::movie);
    state.setDayKelvin(6000);
    state.setBreaksEnabled(true);   // also starts the scheduler
    EXPECT_EQ(changed.count(), 0);  // never inside the setter's call
    // One turn of the loop: the notices come on the next turn, not on a timer after it.
    QCoreApplication::processEvents();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(breaks.count(), 1);

    // A write of the value already held notifies nothing, then or later.
    state.setDayKelvin(6000);
    settle();
    EXPECT_EQ(changed.count(), 1);

    state.breakScheduler().triggerBreak();
    QCoreApplication::processEvents();
    EXPECT_EQ(breaks.count(), 2);
}

TEST(StateSignalsTest, ABridgeDestroyedWithAChangePendingEmitsNothingAndStopsListening) {
    FakePlatform fakes;
    AppState state(fakes.platform());
    FakePlatform otherFakes;
    AppState other(otherFakes.platform());
    // The next bridge, on another state, is built where the first one stood: a call the first
    // left queued, or an observer it left on its state, reaches this one and shows in its signal,
    // where freed memory would take it unseen.
    std::optional<StateSignals> bridge;
    bridge.emplace(state);
    state.setIsEnabled(false);
    bridge.emplace(other);
    QSignalSpy emitted(&*bridge, &StateSignals::stateChanged);
    settle();
    state.setIsEnabled(true);
    settle();
    EXPECT_EQ(emitted.count(), 0);
}

TEST(SteppedSliderTest, StoresOnlyStepsButShowsTheTrueValue) {
    SteppedSlider slider(1800, 6500, 100, [](double v) { return QString::number(static_cast<int>(v)) + "K"; });
    slider.setObjectName("kelvin");
    QSignalSpy moved(&slider, &SteppedSlider::valueChanged);

    slider.setValue(4321);  // a stored value between steps
    EXPECT_EQ(slider.valueLabel()->text(), "4321K");
    EXPECT_EQ(slider.slider()->value(), 25);  // the knob at 4300
    EXPECT_EQ(moved.count(), 0);

    slider.show();
    slider.slider()->setFocus();
    QTest::keyClick(slider.slider(), Qt::Key_Right);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(0).toDouble(), 4400.0);
    EXPECT_EQ(slider.valueLabel()->text(), "4400K");

    for (double outside : {1000.0, 9000.0}) {
        slider.setValue(outside);
        EXPECT_EQ(slider.valueLabel()->text(), QString::number(static_cast<int>(outside)) + "K");
    }
    EXPECT_EQ(slider.slider()->value(), slider.slider()->maximum());
    EXPECT_EQ(slider.findChild<QSlider*>("kelvinSlider"), slider.slider());
    EXPECT_EQ(moved.count(), 1);
}

TEST(SteppedSliderTest, AScreenReaderHearsTheShownValueNotTheStepIndex) {
    SteppedSlider slider(1800, 6500, 100, [](double v) { return QString::number(static_cast<int>(v)) + "K"; });
    slider.setValue(4321);
    slider.show();
    slider.slider()->setFocus();
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(slider.slider());
    ASSERT_NE(node, nullptr);
    const auto heard = [node] {
        return (node->text(QAccessible::Description) + " | " + node->text(QAccessible::Value)).toStdString();
    };
    EXPECT_THAT(heard(), ::testing::HasSubstr("4321K"));
    for (const auto& [key, shown] : {std::pair{Qt::Key_Right, "4400K"}, std::pair{Qt::Key_End, "6500K"}}) {
        QTest::keyClick(slider.slider(), key);
        EXPECT_EQ(slider.valueLabel()->text(), shown);
        EXPECT_THAT(heard(), ::testing::HasSubstr(shown));
    }
}

TEST(PickerTest, AStoredValueNotInTheListShowsNoSelectionAndEveryChoiceIsReported) {
    Picker picker("Interval");
    for (int minutes : {10, 20, 30}) picker.addOption(QString::number(minutes) + " min", minutes);
    QSignalSpy chosen(&picker, &Picker::tagActivated);

    picker.setCurrentTag(25);
    EXPECT_EQ(picker.currentIndex(), -1);
    EXPECT_FALSE(picker.currentTag().isValid());
    picker.setCurrentTag(20);
    EXPECT_EQ(picker.currentText(), "20 min");
    EXPECT_EQ(chosen.count(), 0);

    // The keyboard chooses the next item; choosing an item again is reported again.
    picker.show();
    picker.setFocus();
    QTest::keyClick(&picker, Qt::Key_Down);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 30);
    emit picker.activated(2);
    EXPECT_EQ(chosen.count(), 2);
}

TEST(SwitchTest, ClickAndSpaceToggleAndTheDescriptionFollows) {
    Switch toggle("Enable Solvara");
    QSignalSpy toggled(&toggle, &QAbstractButton::toggled);
    toggle.show();
    QTest::mouseClick(&toggle, Qt::LeftButton);
    EXPECT_TRUE(toggle.isChecked());
    EXPECT_EQ(toggle.accessibleDescription(), "On");
    toggle.setFocus();
    QTest::keyClick(&toggle, Qt::Key_Space);
    EXPECT_FALSE(toggle.isChecked());
    EXPECT_EQ(toggle.accessibleDescription(), "Off");
    EXPECT_EQ(toggled.count(), 2);
}

TEST(ThemeTest, WidgetsFollowTheirWindowsDecisionElseTheApplications) {
    QWidget window;
    auto* label = new StyledLabel("text", TextStyle::body, &Theme::secondary, &window);
    auto* dot = new Dot(6, &Theme::orange, &window);
    EXPECT_EQ(&Theme::of(label), &Theme::light());

    Theme::apply(&window, true);
    EXPECT_EQ(&Theme::of(dot), &Theme::dark());
    EXPECT_EQ(dot->color(), Theme::dark().orange);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), Theme::dark().secondary);
    EXPECT_EQ(window.palette().color(QPalette::Window), Theme::dark().windowBackground);

    Theme::apply(&window, false);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), Theme::light().secondary);
    dot->setColor(&Theme::orange, 0.7);
    EXPECT_NEAR(dot->color().alphaF(), 0.7, 0.01);
}

TEST(SymbolViewTest, MeasuresAndDrawsAsALabelOfItsGlyphInEitherTheme) {
    struct Case {
        const char* symbol;
        int pixels;
        Qt::Alignment alignment;
        int fixedWidth;  // 0: its own
        QMargins margins;
    };
    const Case cases[] = {
        {"thermometer.medium", 17, Qt::AlignLeft | Qt::AlignVCenter, 0, {}},
        {"eye", 60, Qt::AlignCenter, 0, {}},
        {"timer", 14, Qt::AlignCenter, 20, {}},
        {"sun.max", 13, Qt::AlignHCenter | Qt::AlignTop, 18, {0, 2, 0, 0}},
    };
    for (const bool dark : {false, true}) {
        for (const Case& c : cases) {
            QWidget window;
            Theme::apply(&window, dark);
            auto* label = new StyledLabel(Symbols::glyph(c.symbol), Symbols::font(c.pixels), &Theme::orange, &window);
            auto* view = new SymbolView("star", c.pixels, &Theme::secondary, &window);
            view->setSymbol(c.symbol);
            view->setColorRole(&Theme::orange);
            for (QWidget* widget : {static_cast<QWidget*>(label), static_cast<QWidget*>(view)}) {
                widget->setContentsMargins(c.margins);
                if (c.fixedWidth > 0) widget->setFixedWidth(c.fixedWidth);
            }
            label->setAlignment(c.alignment);
            view->setAlignment(c.alignment);
            EXPECT_EQ(view->sizeHint(), label->sizeHint()) << c.symbol;
            const QSize size = label->sizeHint() + QSize(6, 8);  // room for the alignment to show
            label->resize(size);
            view->resize(size);
            EXPECT_EQ(view->grab().toImage(), label->grab().toImage()) << c.symbol << (dark ? " dark" : " light");
        }
    }
}

TEST(FakeUiServicesTest, QueuedAnswersArriveOnALaterTurn) {
    FakeUiServices fakes;
    std::optional<QString> saved = QString("unanswered");
    fakes.fileDialogs.answerNext(QString("/tmp/x.csv"));
    fakes.services().fileDialogs.chooseFileToSave(nullptr, {"Export", "a.csv", "CSV (*.csv)"},
                                                  [&](std::optional<QString> path) { saved = path; });
    EXPECT_EQ(saved, QString("unanswered"));
    ASSERT_TRUE(processEventsUntil([&] { return saved != QString("unanswered"); }));
    EXPECT_EQ(saved, QString("/tmp/x.csv"));
    EXPECT_EQ(fakes.fileDialogs.asked.at(0).request.suggestedName, "a.csv");

    QStringList answers;
    fakes.messageBoxes.answerNext("Reset");
    fakes.messageBoxes.answerNext("Nonsense");
    MessageBoxes::Question question;
    question.title = "Reset?";
    question.buttons = {"Reset", "Cancel"};
    question.cancelButton = "Cancel";
    for (int i = 0; i < 3; ++i) {
        fakes.services().messageBoxes.ask(nullptr, question, [&](const QString& b) { answers << b; });
    }
    ASSERT_TRUE(processEventsUntil([&] { return answers.size() == 3; }));
    EXPECT_EQ(answers, (QStringList{"Reset", "Cancel", "Cancel"}));
    EXPECT_EQ(fakes.messageBoxes.mismatches, std::vector<QString>{"Nonsense"});
}

}  // namespace
}  // namespace solvara::testing
