#include "app/ui/settings/SettingsView.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "app/ui/dashboard/DashboardTab.h"
#include "app/ui/health/HealthSettingsTab.h"
#include "app/ui/kit/Symbols.h"
#include "app/ui/kit/TextStyle.h"
#include "app/ui/science/ScienceView.h"
#include "app/ui/settings/BreakSettingsTab.h"
#include "app/ui/settings/DisplaySettingsTab.h"
#include "app/ui/settings/FeaturesSettingsTab.h"
#include "app/ui/settings/GeneralSettingsTab.h"
#include "app/ui/settings/HelpTab.h"
#include "app/ui/settings/ProfilesSettingsTab.h"
#include "app/ui/settings/ScheduleSettingsTab.h"
#include "app/ui/settings/SettingsControls.h"
#include "app/ui/settings/ShortcutsSettingsTab.h"

namespace solvara {

using namespace settingsui;

namespace {

constexpr int tabRole = Qt::UserRole + 1;  // the tab's index; absent on group titles

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<int>(value.size()));
}

// Draws a group title (upper case, 10 px semibold, tertiary) or a tab row (its symbol in a
// 20 px frame and its title; the selected row on the accent colour at 15 %).
class SidebarDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override {
        if (!index.data(tabRole).isValid()) return {SettingsView::sidebarWidth - 24, index.row() == 0 ? 16 : 32};
        return {SettingsView::sidebarWidth - 24, 32};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const Theme& theme = Theme::of(option.widget);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QRect area = option.rect;
        if (!index.data(tabRole).isValid()) {
            painter->setFont(TextStyle::systemFont(10, QFont::DemiBold));
            painter->setPen(theme.tertiary);
            painter->drawText(area.adjusted(12, 0, -12, -2), Qt::AlignLeft | Qt::AlignBottom,
                              index.data(Qt::DisplayRole).toString());
            painter->restore();
            return;
        }
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QRectF row = QRectF(area).adjusted(0, 1, 0, -1);
        if (selected) {
            QPainterPath path;
            path.addRoundedRect(row, 6, 6);
            painter->fillPath(path, Theme::withOpacity(theme.accent, 0.15));
        }
        if (option.state.testFlag(QStyle::State_HasFocus) && option.widget->hasFocus()) {
            QPainterPath path;
            path.addRoundedRect(row.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
            painter->setPen(QPen(Theme::withOpacity(theme.accent, 0.6), 1));
            painter->drawPath(path);
        }
        const QColor color = selected ? theme.primary : theme.secondary;
        painter->setPen(color);
        painter->setFont(Symbols::font(15));
        const QRect icon(area.left() + 12, area.top(), 20, area.height());
        painter->drawText(icon, Qt::AlignCenter, index.data(Qt::DecorationRole + 1000).toString());
        painter->setFont(TextStyle::font(TextStyle::body));
        const QRect title(icon.right() + 9, area.top(), area.right() - icon.right() - 21, area.height());
        painter->drawText(
            title, Qt::AlignLeft | Qt::AlignVCenter,
            painter->fontMetrics().elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, title.width()));
        painter->restore();
    }
};

class VerticalDivider : public QWidget {
public:
    VerticalDivider() { setFixedWidth(1); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Theme::of(this).separator);
    }
};

class Sidebar : public QListWidget {
public:
    Sidebar() { setViewportMargins(12, 12, 12, 12); }

protected:
    void paintEvent(QPaintEvent* event) override {
        {
            QPainter painter(viewport());
            painter.fillRect(viewport()->rect(), Theme::of(this).windowBackground);
        }
        QListWidget::paintEvent(event);
    }
};

}  // namespace

SettingsView::SettingsView(AppState& state, UiServices& ui, QWidget* parent)
    : QWidget(parent), state_(state), ui_(ui), sidebar_(new Sidebar), content_(new QScrollArea) {
    setObjectName("SettingsView");
    setFixedSize(width, height);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    sidebar_->setObjectName("sidebar");
    sidebar_->setAccessibleName("Settings");
    sidebar_->setFixedWidth(sidebarWidth);
    sidebar_->setFrameShape(QFrame::NoFrame);
    sidebar_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sidebar_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sidebar_->setSpacing(0);
    sidebar_->setItemDelegate(new SidebarDelegate(sidebar_));
    sidebar_->setSelectionMode(QAbstractItemView::SingleSelection);
    sidebar_->setAutoFillBackground(false);
    for (const SidebarGroup& group : sidebarGroups) {
        auto* title = new QListWidgetItem(text(group.title).toUpper());
        title->setFlags(Qt::NoItemFlags);
        sidebar_->addItem(title);
        for (std::size_t i = 0; i < group.count; ++i) {
            const SettingsTabInfo& tab = info(group.tabs[i]);
            auto* item = new QListWidgetItem(text(tab.title));
            item->setData(tabRole, static_cast<int>(tab.tab));
            item->setData(Qt::DecorationRole + 1000, Symbols::glyph(tab.icon));
            item->setData(Qt::AccessibleTextRole, text(tab.title));
            sidebar_->addItem(item);
        }
    }
    layout->addWidget(sidebar_);
    layout->addWidget(new VerticalDivider);

    content_->setObjectName("content");
    content_->setFrameShape(QFrame::NoFrame);
    content_->setWidgetResizable(true);
    content_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    content_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(content_, 1);

    connect(sidebar_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> items = sidebar_->selectedItems();
        if (items.isEmpty()) return showSelectedRow();
        const auto tab = static_cast<SettingsTab>(items.front()->data(tabRole).toInt());
        if (tab != selected_ || view_ == nullptr) select(tab);
    });
    select(SettingsTab::dashboard);
}

void SettingsView::showSelectedRow() {
    const QSignalBlocker block(sidebar_);
    for (int row = 0; row < sidebar_->count(); ++row) {
        QListWidgetItem* item = sidebar_->item(row);
        if (item->data(tabRole).isValid() && static_cast<SettingsTab>(item->data(tabRole).toInt()) == selected_) {
            sidebar_->setCurrentItem(item);
            item->setSelected(true);
            return;
        }
    }
}

void SettingsView::select(SettingsTab tab) {
    selected_ = tab;
    showSelectedRow();
    if (view_ != nullptr) {
        // Gone on the next turn: the previous view may be what asked for the switch (a menu
        // acting through one of its widgets).
        // Kept as a hidden child until then, so that it never outlives this view (and the state).
        QWidget* old = content_->takeWidget();
        old->hide();
        old->setParent(this);
        old->deleteLater();
    }
    view_ = makeView(tab);
    content_->setWidget(view_);
    content_->verticalScrollBar()->setValue(0);
}

QWidget* SettingsView::makeView(SettingsTab tab) {
    switch (tab) {
        case SettingsTab::dashboard:
            return new DashboardTab(state_, ui_);
        case SettingsTab::general:
            return new GeneralSettingsTab(state_, ui_);
        case SettingsTab::schedule:
            return new ScheduleSettingsTab(state_);
        case SettingsTab::display:
            return new DisplaySettingsTab(state_);
        case SettingsTab::breaks:
            return new BreakSettingsTab(state_);
        case SettingsTab::shortcuts:
            return new ShortcutsSettingsTab(state_);
        case SettingsTab::profiles:
            return new ProfilesSettingsTab(state_);
        case SettingsTab::features:
            return new FeaturesSettingsTab(state_);
        case SettingsTab::health:
            return new HealthSettingsTab(state_, ui_);
        case SettingsTab::science:
            return new ScienceView(state_, ui_);
        case SettingsTab::help:
            return new HelpTab(state_, ui_);
    }
    return new QWidget;
}

}  // namespace solvara
