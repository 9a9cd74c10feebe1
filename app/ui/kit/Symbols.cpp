#include "app/ui/kit/Symbols.h"

#include <array>
#include <mutex>
#include <set>
#include <string>
#include <utility>

#include <QFontDatabase>
#include <QPainter>
#include <QStringList>

#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr std::string_view component = "Symbols";

// Material Design Icons 1.6 code points.
constexpr std::pair<std::string_view, char16_t> table[] = {
    {"sun.max", 0xF5A8},
    {"moon.stars", 0xF594},
    {"sunrise", 0xF59C},
    {"sunset", 0xF59B},
    {"sun.horizon", 0xF59A},
    {"sun.min", 0xF0DE},
    {"eye", 0xF208},
    {"timer", 0xF51B},
    {"clock", 0xF150},
    {"bed.double", 0xF2E3},
    {"display", 0xF379},
    {"display.2", 0xF37A},
    {"keyboard", 0xF30C},
    {"book", 0xF0BE},
    {"thermometer.medium", 0xF50F},
    {"moon.zzz", 0xF4B2},
    {"gearshape", 0xF493},
    {"questionmark.circle", 0xF625},
    {"heart", 0xF2D5},
    {"leaf.fill", 0xF32A},
    {"xmark.circle", 0xF15A},
    {"pencil", 0xF3EB},
    {"trash", 0xF1C0},
    {"plus", 0xF415},
    {"globe", 0xF1E7},
    {"arrow.counterclockwise", 0xF459},
    {"xmark", 0xF156},                     // close
    {"figure.stand", 0xF64D},              // human-male
    {"clock.arrow.2.circlepath", 0xF2DA},  // history
    {"square.and.arrow.up", 0xF497},       // share-variant
    {"power", 0xF425},
    {"macwindow", 0xF3CB},    // open-in-app
    {"envelope", 0xF1EE},     // email
    {"doc.on.doc", 0xF18F},   // content-copy
    {"info.circle", 0xF2FC},  // information
    {"sparkles", 0xF335},     // lightbulb
    {"flask", 0xF093},
    // The main window's sidebar and settings tabs.
    {"gauge.with.dots.needle.33percent", 0xF29A},  // gauge
    {"person.2", 0xF00E},                          // account-multiple
    {"switch.2", 0xF521},                          // toggle-switch
    {"minus.circle", 0xF376},
    {"plus.circle.fill", 0xF417},
    {"speaker.wave.1", 0xF57F},  // volume-low
    {"speaker.wave.3", 0xF57E},  // volume-high
    {"sunrise.fill", 0xF59C},
    {"pause.circle", 0xF3E5},
    {"flashlight.on.fill", 0xF244},
    {"cursorarrow", 0xF1B4},
    {"waveform", 0xF430},                               // pulse
    {"light.max", 0xF0E0},                              // brightness-7
    {"questionmark.bubble", 0xF186},                    // comment-question-outline
    {"sun.max.trianglebadge.exclamationmark", 0xF5A8},  // white-balance-sunny
    {"sunset.fill", 0xF59B},                            // weather-sunset-down
    {"sun.max.fill", 0xF5A8},                           // white-balance-sunny
    {"moon.fill", 0xF0DC},                              // brightness-3
    {"moon.haze", 0xF591},                              // weather-fog
    {"desktopcomputer", 0xF1C4},                        // desktop-mac
    {"plus.circle", 0xF417},                            // plus-circle
    {"star.fill", 0xF4CE},                              // star
    {"star", 0xF4D2},                                   // star-outline
    {"chart.line.uptrend.xyaxis", 0xF12A},              // chart-line
    {"doc.text.magnifyingglass", 0xF21E},               // file-find
    {"calendar", 0xF0ED},
    {"checkmark.circle", 0xF5E0},          // check-circle
    {"exclamationmark.triangle", 0xF02A},  // alert-outline
    {"eye.slash", 0xF209},                 // eye-off
    {"checkmark.seal", 0xF47A},            // seal
    {"lightbulb", 0xF335},
    {"arrow.down.circle", 0xF048},                  // arrow-down-bold-circle-outline
    {"chart.bar.doc.horizontal", 0xF215},           // file-chart
    {"moon.stars.fill", 0xF594},                    // weather-night
    {"eye.trianglebadge.exclamationmark", 0xF02A},  // alert-outline
    {"chevron.right", 0xF142},
    {"quote.opening", 0xF27E},  // format-quote
    {"link", 0xF337},
    {"arrow.right", 0xF054},
    {"clock.arrow.circlepath", 0xF2DA},  // history
    // The first-run flow's permission cards.
    {"location.fill", 0xF34E},          // map-marker
    {"accessibility", 0xF2E6},          // human
    {"checkmark.circle.fill", 0xF5E0},  // check-circle
};

std::mutex& logMutex() {
    static std::mutex m;
    return m;
}

// Logs `text` the first time it is seen.
void logOnce(const std::string& text) {
    static std::set<std::string> seen;
    std::lock_guard lock(logMutex());
    if (seen.insert(text).second) Log::write(component, text);
}

const QString& fontFamily() {
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(Symbols::fontPath));
        const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
        if (families.isEmpty()) {
            logOnce(std::string("The icon font cannot be loaded from ") + Symbols::fontPath +
                    " (Debian fonts-materialdesignicons-webfont): symbols are left out");
            return QString();
        }
        return families.front();
    }();
    return family;
}

}  // namespace

char16_t Symbols::codePoint(std::string_view name) {
    for (const auto& [symbol, point] : table) {
        if (symbol == name) return point;
    }
    logOnce("No glyph for the symbol \"" + std::string(name) + "\"");
    return 0;
}

QString Symbols::glyph(std::string_view name) {
    const char16_t point = codePoint(name);
    if (point == 0 || fontFamily().isEmpty()) return {};
    return QString(QChar(point));
}

QFont Symbols::font(int pixelSize) {
    QFont font(fontFamily());
    font.setPixelSize(pixelSize);
    return font;
}

void Symbols::paint(QPainter& painter, const QRectF& rect, std::string_view name, int pixelSize, const QColor& color) {
    const QString text = glyph(name);
    if (text.isEmpty()) return;
    painter.save();
    painter.setFont(font(pixelSize));
    painter.setPen(color);
    painter.drawText(rect, Qt::AlignCenter, text);
    painter.restore();
}

}  // namespace solvara
