#include "app/ui/dashboard/TimelineView.h"

#include <cmath>

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/dashboard/DashboardStyle.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/TextStyle.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "core/foundation/Format.h"
#include "core/solar/TwilightPhase.h"

namespace solvara {

using namespace dashboard;

// The strip itself: 16 high, with the marker standing 2 proud above and below.
class TimelineView::PhaseBar : public QWidget {
public:
    explicit PhaseBar(QWidget* parent) : QWidget(parent) {
        setObjectName("timelineBar");
        setFixedHeight(20);
        setMinimumWidth(120);
        setAccessibleName(localized("Today's timeline"));
    }

    void setSegments(std::vector<PhaseSegment> segments) {
        if (segments == segments_) return;
        segments_ = std::move(segments);
        setAccessibleDescription(describe());
        update();
    }

    void setMarker(double fraction) {
        if (fraction == markerFraction_) return;
        markerFraction_ = fraction;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF bar(0, 2, width(), 16);
        QPainterPath clip;
        clip.addRoundedRect(bar, 4, 4);
        painter.save();
        painter.setClipPath(clip);
        // Runs end on whole pixels from the running total, so they tile the bar without seams.
        int minutes = 0;
        int x = 0;
        for (const PhaseSegment& segment : segments_) {
            minutes += segment.minutes;
            const int right = static_cast<int>(std::lround(minutes / 1440.0 * bar.width()));
            QColor color;
            color.setRgbF(static_cast<float>(segment.color.red), static_cast<float>(segment.color.green),
                          static_cast<float>(segment.color.blue), static_cast<float>(segment.color.opacity));
            painter.fillRect(QRect(x, 2, right - x, 16), color);
            x = right;
        }
        painter.restore();
        // The marker's shadow: black at 0.4 fading over 2 pixels each side.
        const double left = markerFraction_ * bar.width() - 1;
        painter.fillRect(QRectF(left - 2, 0, 6, 20), QColor(0, 0, 0, 40));
        painter.fillRect(QRectF(left - 1, 0, 4, 20), QColor(0, 0, 0, 60));
        painter.fillRect(QRectF(left, 0, 2, 20), Qt::white);
    }

private:
    QString describe() const {
        QString text;
        int minutes = 0;
        for (const PhaseSegment& segment : segments_) {
            minutes += segment.minutes;
            const auto phase = TwilightPhase::fromRawValue(segment.phase);
            if (!text.isEmpty()) text += ", ";
            text += phase ? QString::fromUtf8(phase->displayName()) : localized("No location");
            const std::string h = format::integer(minutes / 60);
            const std::string m = format::integer(minutes % 60);
            text += " " + localized("until") + " " +
                    QString::fromStdString((h.size() < 2 ? "0" : "") + h + ":" + (m.size() < 2 ? "0" : "") + m);
        }
        return text;
    }

    std::vector<PhaseSegment> segments_;
    double markerFraction_ = 0.0;
};

TimelineView::TimelineView(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName("timelineView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    title_ = textLabel(localized("Today's Timeline"), TextStyle::font(TextStyle::caption), this);
    layout->addWidget(title_);
    bar_ = new PhaseBar(this);
    layout->addWidget(bar_);
    auto* labels = new QHBoxLayout();
    labels->setSpacing(8);
    const QFont font = TextStyle::systemFont(9);
    start_ = textLabel("00:00", font, this);
    sunrise_ = textLabel(QString(), font, this);
    noon_ = textLabel(QString(), font, this);
    sunset_ = textLabel(QString(), font, this);
    end_ = textLabel("24:00", font, this);
    sunrise_->setObjectName("timelineSunrise");
    noon_->setObjectName("timelineNoon");
    sunset_->setObjectName("timelineSunset");
    labels->addWidget(start_);
    labels->addStretch();
    for (QLabel* label : {sunrise_, noon_, sunset_}) {
        labels->addWidget(label);
        labels->addStretch();
    }
    labels->addWidget(end_);
    layout->addLayout(labels);
    refresh();
}

void TimelineView::refresh() {
    const Date now = Clock::now();
    const DayKey day{state_.coordinate(), Calendar::startOfDay(now)};
    if (day_ != day) {
        day_ = day;
        bar_->setSegments(phaseSegments(day.coordinate, now));
        times_ = timelineLabels(day.coordinate, now);
    }
    bar_->setMarker(dayFraction(now));

    const Theme& theme = themeOf(*this);
    const TimelineLabels& times = times_;
    auto show = [](QLabel* label, const std::optional<std::string>& text, const QColor& color) {
        label->setVisible(text.has_value());
        if (!text) return;
        const QString value = QString::fromStdString(*text);
        if (label->text() != value) label->setText(value);
        setTextColor(*label, color);
    };
    show(sunrise_, times.sunrise, theme.orange);
    show(noon_, times.solarNoon, theme.yellow);
    show(sunset_, times.sunset, theme.indigo);
    for (QLabel* label : {title_, start_, end_}) setTextColor(*label, theme.secondary);
}

void TimelineView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) refresh();
}

}  // namespace solvara
