#include "app/ui/science/ScienceView.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/StateSignals.h"
#include "app/ui/kit/StyledLabel.h"
#include "app/ui/science/ScienceCard.h"
#include "app/ui/science/ScienceCharts.h"

namespace solvara {

namespace {

QString paragraphs(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) list.append(localized(text));
    return list.join("\n\n");
}

ScienceCard::Content circadianLightingCard() {
    return {
        "sun.max.fill",
        "Why Circadian Lighting Matters",
        "Your eyes have special cells that detect blue light and set your body clock — even when you can't see "
        "it.",
        paragraphs({"In 2002, scientists discovered a third type of photoreceptor in the human retina: intrinsically "
                    "photosensitive retinal ganglion cells (ipRGCs). These cells contain melanopsin, a photopigment "
                    "with peak sensitivity at ~480nm (blue-cyan light).",
                    "Unlike rods and cones that enable vision, ipRGCs signal directly to the suprachiasmatic nucleus "
                    "(SCN) — your master circadian clock. This pathway operates independently of conscious sight, "
                    "which is why even blind individuals can maintain circadian rhythms.",
                    "Screen displays emit substantial 480nm light that ipRGCs interpret as daylight. Solvara "
                    "dynamically filters this wavelength based on time of day to keep your circadian clock "
                    "synchronized."}),
        {"Berson DM, Dunn FA, Takao M", "2002",
         "Phototransduction by retinal ganglion cells that set the circadian clock", "Science 295(5557):1070-3",
         "10.1126/science.1067262", std::nullopt}};
}

ScienceCard::Content morningBoostCard() {
    return {
        "sunrise.fill",
        "The Morning Boost",
        "Timing matters more than blocking — bright morning light advances your clock and improves alertness.",
        paragraphs({"The Phase Response Curve (PRC) describes how light exposure at different times shifts your "
                    "circadian rhythm. Light before your core body temperature minimum (CBTmin, ~2 hours before wake "
                    "time) delays your clock — making you want to sleep later. Light after CBTmin advances your "
                    "clock — making you want to sleep earlier.",
                    "The green \"morning window\" (0-6 hours after CBTmin) is when light exposure is most "
                    "beneficial. This is why Solvara's Morning Boost feature allows full-spectrum light through "
                    "during this window, helping you feel more alert and reinforcing a healthy sleep-wake cycle.",
                    "The chart below uses real Phase Response Curve calculations to show how light timing affects "
                    "your circadian phase."}),
        {"Khalsa SBS, Jewett ME, Cajochen C, Czeisler CA", "2003",
         "A phase response curve to single bright light pulses in human subjects", "J Physiol 549(3):945-52",
         "10.1113/jphysiol.2003.040477", std::nullopt}};
}

ScienceCard::Content pwmFlickerCard() {
    return {
        "light.max",
        "PWM Flicker Protection",
        "Most displays flicker invisibly at low brightness. Software dimming eliminates this completely.",
        paragraphs({"Many displays use Pulse Width Modulation (PWM) to control brightness. Instead of reducing the "
                    "backlight intensity, they rapidly switch it on and off — often at frequencies between 60-480 "
                    "Hz. At low brightness settings, the \"off\" periods become longer, increasing flicker "
                    "intensity.",
                    "While most people can't consciously perceive this flicker, research shows it can cause eye "
                    "strain, headaches, and discomfort in sensitive individuals. The ipRGCs that regulate circadian "
                    "rhythm are particularly susceptible to temporal light modulation.",
                    "Solvara's software dimmer applies a constant overlay instead of relying on hardware PWM. This "
                    "provides flicker-free dimming at any brightness level — the backlight stays at full power "
                    "while the overlay reduces perceived brightness."}),
        {"Wilkins A, Veitch J, Lehman B", "2010", "LED lighting flicker and potential health concerns",
         "IEEE Energy Conversion Congress and Exposition", "10.1109/ECCE.2010.5618050", std::nullopt}};
}

ScienceCard::Content redLightCard() {
    return {
        "moon.stars.fill",
        "Red Light at Night",
        "Green light suppresses melatonin too — that's why we filter everything below 590nm, not just blue.",
        paragraphs({"Most \"night mode\" apps only filter blue light (~450-490nm), but research shows that green "
                    "light (500-570nm) also significantly suppresses melatonin production. Melanopsin in ipRGCs has "
                    "a broad sensitivity curve extending well into the green range.",
                    "A 2001 study demonstrated that wavelengths from 446nm to 577nm all suppress melatonin, with "
                    "peak suppression at ~460nm but substantial effects through the green spectrum. This means "
                    "conventional blue-light-only filters leave a significant portion of circadian-disrupting light "
                    "unblocked.",
                    "Solvara's night mode eliminates all light below 590nm — blocking both blue AND green "
                    "wavelengths. The chart shows melanopsin sensitivity overlaid on our filter cutoff, "
                    "demonstrating complete coverage of the suppression zone."}),
        {"Brainard GC, Hanifin JP, Greeson JM, Byrne B, Glickman G, Gerner E, Rollag MD", "2001",
         "Action spectrum for melatonin regulation in humans", "J Neuroscience 21(16):6405-12",
         "10.1523/JNEUROSCI.21-16-06405.2001", std::nullopt}};
}

ScienceCard::Content circadianScoreCard() {
    return {"gauge.with.dots.needle.33percent",
            "Your Circadian Score",
            "Melanopic EDI measures how much your display stimulates circadian receptors — lower is better at night.",
            paragraphs({"The CIE S 026:2018 standard defines Melanopic Equivalent Daylight Illuminance (EDI) as the "
                        "metric for quantifying circadian light stimulus. It accounts for melanopsin's spectral "
                        "sensitivity rather than treating all light equally.",
                        "The melanopic-to-photopic (M/P) ratio describes how much circadian stimulus a light source "
                        "produces relative to its visual brightness. Warm light (low Kelvin) has a low M/P ratio — it "
                        "appears bright to your eyes but delivers minimal circadian stimulus. Cool daylight (high "
                        "Kelvin) has a high M/P ratio.",
                        "The chart shows how M/P ratio changes across color temperatures using Solvara's melanopic "
                        "model. Your current display setting is marked, showing exactly how much circadian stimulus "
                        "reduction you're getting compared to unfiltered daylight."}),
            {"CIE", "2018", "CIE System for Metrology of Optical Radiation for ipRGC-Influenced Responses to Light",
             "CIE S 026/E:2018", "10.25039/S026.2018", std::nullopt}};
}

ScienceCard::Content twentyTwentyTwentyCard() {
    return {"eye.trianglebadge.exclamationmark",
            "The 20-20-20 Rule",
            "Every 20 minutes, look at something 20 feet away for 20 seconds to reduce eye strain.",
            paragraphs({"Prolonged near-focus work forces the ciliary muscles to maintain constant contraction "
                        "(accommodation), leading to fatigue and discomfort. Studies show that blink rate drops from a "
                        "normal 15-20 blinks/min to as low as 3-4 blinks/min during concentrated screen use, causing "
                        "tear film instability and dry eye symptoms.",
                        "The 20-20-20 rule is an evidence-based intervention: every 20 minutes, shift focus to an "
                        "object at least 20 feet (~6 meters) away for at least 20 seconds. This relaxes the ciliary "
                        "muscle, restores normal blink rate, and redistributes the tear film.",
                        "Solvara's break timer implements this with smart detection — it auto-pauses during video "
                        "calls, screen recording, and full-screen applications so you're never interrupted during "
                        "presentations or meetings."}),
            {"Sheppard AL, Wolffsohn JS", "2018", "Digital eye strain: prevalence, measurement and amelioration",
             "BMJ Open Ophthalmology 3(1):e000146", "10.1136/bmjophth-2018-000146", std::nullopt}};
}

ScienceCard::ChartBuilder phaseResponseBuilder(std::int64_t wakeHour) {
    return [wakeHour](QWidget* parent) { return new PhaseResponseChart(static_cast<int>(wakeHour), parent); };
}

ScienceCard::ChartBuilder melanopicRatioBuilder(std::int64_t kelvin) {
    return [kelvin](QWidget* parent) { return new MelanopicRatioChart(kelvin, parent); };
}

}  // namespace

ScienceView::ScienceView(AppState& state, UiServices& ui, QWidget* parent)
    : QWidget(parent), state_(state), signals_(new StateSignals(state, this)) {
    setObjectName("scienceView");
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(24, 24, 24, 24);
    stack->setSpacing(20);

    auto* header = new QVBoxLayout();
    header->setSpacing(4);
    header->addWidget(new StyledLabel(localized("The Science"), TextStyle::headline, &Theme::primary, this));
    header->addWidget(new StyledLabel(localized("Tap any card to explore the research behind Solvara."),
                                      TextStyle::caption, &Theme::secondary, this));
    stack->addLayout(header);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("scienceScroll");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* column = new QWidget(scroll);
    column->setAutoFillBackground(false);
    auto* cards = new QVBoxLayout(column);
    cards->setContentsMargins(0, 0, 0, 0);
    cards->setSpacing(12);

    const std::int64_t wakeHour = state.wakeHour();
    const std::int64_t kelvin = state.effectiveKelvin();
    shownWakeHour_ = wakeHour;
    shownKelvin_ = kelvin;
    const std::pair<ScienceCard::Content, ScienceCard::ChartBuilder> topics[cardCount] = {
        {circadianLightingCard(), [](QWidget* p) { return new MelanopsinSpectrumChart(p); }},
        {morningBoostCard(), phaseResponseBuilder(wakeHour)},
        {pwmFlickerCard(), [](QWidget* p) { return new PWMWaveformChart(p); }},
        {redLightCard(), [](QWidget* p) { return new RedLightSpectrumChart(p); }},
        {circadianScoreCard(), melanopicRatioBuilder(kelvin)},
        {twentyTwentyTwentyCard(), [](QWidget* p) { return new TwentyTwentyTwentyChart(p); }},
    };
    for (int i = 0; i < cardCount; ++i) {
        cards_[i] = new ScienceCard(topics[i].first, topics[i].second, ui, column);
        cards_[i]->setObjectName(QString("scienceCard%1").arg(i));
        cards->addWidget(cards_[i]);
    }
    cards->addStretch(1);
    scroll->setWidget(column);
    scroll->viewport()->setAutoFillBackground(false);
    stack->addWidget(scroll, 1);

    connect(signals_, &StateSignals::stateChanged, this, &ScienceView::refresh);
}

void ScienceView::refresh() {
    // Only a new value rebuilds a chart: the tick writes the state every ten seconds.
    if (state_.wakeHour() != shownWakeHour_) {
        shownWakeHour_ = state_.wakeHour();
        cards_[1]->setChartBuilder(phaseResponseBuilder(*shownWakeHour_));
    }
    if (state_.effectiveKelvin() != shownKelvin_) {
        shownKelvin_ = state_.effectiveKelvin();
        cards_[4]->setChartBuilder(melanopicRatioBuilder(*shownKelvin_));
    }
}

}  // namespace solvara
