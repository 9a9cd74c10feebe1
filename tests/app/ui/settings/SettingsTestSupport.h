#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include "app/state/AppState.h"
#include "platform/fake/FakePlatform.h"
#include "tests/app/ui/HeldLoops.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara::testing {

// A state on fakes, the properties written to it, and helpers to find and drive widgets.
class SettingsFixture : public ::testing::Test {
protected:
    SettingsFixture() {
        observer_ = state->addObserver([this](AppState::Property property, AppState::Notice notice) {
            if (notice == AppState::Notice::didChange) changed.push_back(property);
        });
    }
    ~SettingsFixture() override { state->removeObserver(observer_); }

    // Lets the queued refreshes, the deferred deletions and whatever they set moving come to
    // rest (a window of these may show the first-run flow, whose previews never do).
    static void settle() {
        const HeldLoops held;
        solvara::testing::settle();
    }

    template <class T>
    static T* child(const QWidget& root, const char* name) {
        T* found = root.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Clicks a check box on its indicator (its centre may lie past its text).
    static void clickBox(QWidget* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }

    // A widget shown in a window of its own, as the user would see it.
    template <class View, class... Args>
    std::unique_ptr<View> shown(Args&&... args) {
        auto view = std::make_unique<View>(*state, std::forward<Args>(args)...);
        view->resize(620, 900);
        view->show();
        settle();
        return view;
    }

    // Every control shown under `root` has an object name, takes the keyboard and has a name for
    // screen readers; no two pickers, sliders, fields or check boxes share one.
    static void expectControlsNamed(const QWidget& root, std::string_view where) {
        QStringList names;
        for (QWidget* control : root.findChildren<QWidget*>()) {
            const bool isControl = qobject_cast<QAbstractButton*>(control) || qobject_cast<QAbstractSlider*>(control) ||
                                   qobject_cast<QComboBox*>(control) || qobject_cast<QLineEdit*>(control);
            if (!isControl || !control->isVisibleTo(&root)) continue;
            const std::string what = std::string(where) + ": " + control->metaObject()->className() + " " +
                                     control->objectName().toStdString();
            EXPECT_FALSE(control->objectName().isEmpty()) << what;
            EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus) << what;
            // (On Linux a combo box tells its current item as its name; its own name is what counts.)
            const QString name = !control->accessibleName().isEmpty()
                                     ? control->accessibleName()
                                     : QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
            EXPECT_FALSE(name.isEmpty()) << what;
            if (!qobject_cast<QAbstractButton*>(control) || qobject_cast<QCheckBox*>(control)) {
                EXPECT_FALSE(names.contains(name)) << what << " shares the name " << name.toStdString();
                names << name;
            }
        }
    }

    // The settings writes a refresh or a user action caused, measured from now.
    std::size_t writesSince(std::size_t mark) const { return fake.userDefaults.setCount - mark; }
    std::size_t mark() const { return fake.userDefaults.setCount; }

    FakePlatform fake;
    std::unique_ptr<AppState> state = std::make_unique<AppState>(fake.platform());
    std::vector<AppState::Property> changed;

private:
    AppState::ObserverId observer_ = 0;
};

}  // namespace solvara::testing
