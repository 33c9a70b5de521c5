#include "audio/voice_selection.h"

#include "runtime/errors.h"

#include <algorithm>
#include <limits>

namespace hunt {

VoiceSelection::VoiceSelection(GlobalSettings &settings, SpeechOutput &speech,
                               TtsNotifySink &notifysink, TtsVoiceSourceFactory factory)
    : settings_(settings), speech_(speech), notifysink_(notifysink), factory_(std::move(factory)) {
    // Disabled until an engine gives them their ranges.
    pitchtb.enabled = speedtb.enabled = volumetb.enabled = false;
}

VoiceSelection::~VoiceSelection() = default;

void VoiceSelection::initsapi4() {
    if (ttscentral_)
        ++engineserial_;
    ttscentral_.reset();
    ttsenum_.reset();
    currentmode_.reset();
    if (!factory_)
        return;
    try {
        ttsenum_ = factory_();
    } catch (...) {
        // No voice source: the voice operations do nothing.
        ttsenum_.reset();
    }
}

void VoiceSelection::listvoices() {
    if (!ttsenum_)
        return;
    voicelist.items.clear();
    voicelist.selected = -1;
    for (const TtsModeInfo &mode : ttsenum_->modes())
        voicelist.items.push_back(mode.modeName);
    if (!voicelist.items.empty()) {
        const auto jakub = std::find(voicelist.items.begin(), voicelist.items.end(), "Jakub");
        voicelist.selected = jakub == voicelist.items.end()
                                 ? 0
                                 : static_cast<int>(std::distance(voicelist.items.begin(), jakub));
    }
    voicelist.changed();
    if (voicelist.selected >= 0)
        voicelistClick();
}

void VoiceSelection::voicelistClick() {
    if (!ttsenum_)
        return;
    const bool dialogActive = voicedialogactive && voicedialogactive();
    if (dialogActive && ttscentral_)
        ttscentral_->audioReset();
    const int n = voicelist.selected;
    if (n < 0)
        return;
    const std::vector<TtsModeInfo> modes = ttsenum_->modes();
    // The list may be older than the source's current voices: an index past the end keeps
    // the current mode.
    if (n < static_cast<int>(modes.size()))
        currentmode_ = modes[n];
    if (dialogActive)
        speech_.speakwait(voicelist.selectedText());
}

void VoiceSelection::setupTrackBar(TrackBarModel &bar, TtsAttribute attribute, uint32_t highest,
                                   bool volumeBar) {
    TtsEngine &engine = *ttscentral_;
    const std::optional<uint32_t> current = engine.attributeGet(attribute);
    if (!current || !engine.attributeSet(attribute, *current))
        return; // not supported: the track bar keeps its range
    engine.attributeSet(attribute, 0);
    const uint32_t lowest = engine.attributeGet(attribute).value_or(*current);
    engine.attributeSet(attribute, highest);
    const uint32_t top = engine.attributeGet(attribute).value_or(*current);
    engine.attributeSet(attribute, *current);
    const auto shown = [volumeBar](uint32_t value) {
        const uint32_t v = volumeBar ? (value % 65536) / 256 : value;
        return static_cast<int>(std::min<uint32_t>(v, std::numeric_limits<int>::max()));
    };
    bar.setMax(shown(top));
    bar.setMin(shown(lowest));
    bar.setPosition(shown(*current));
    if (!volumeBar)
        bar.frequency = (shown(top) - shown(lowest)) / 10;
}

void VoiceSelection::selectvoice() {
    if (!ttsenum_ || !currentmode_)
        return;
    if (settings_.voiceready && ttscentral_)
        ttscentral_->unregisterSink(notifykey_);
    ttscentral_.reset();
    ++engineserial_;
    ttscentral_ = ttsenum_->select(*currentmode_);
    if (!ttscentral_)
        throw HuntError("The voice \"" + currentmode_->modeName + "\" cannot be opened.");
    settings_.voiceready = true;
    setupTrackBar(speedtb, TtsAttribute::speed, std::numeric_limits<uint32_t>::max(), false);
    setupTrackBar(pitchtb, TtsAttribute::pitch, 65535, false);
    setupTrackBar(volumetb, TtsAttribute::volume, std::numeric_limits<uint32_t>::max(), true);
    speedtb.enabled = pitchtb.enabled = volumetb.enabled = true;
    for (TrackBarModel *bar : {&speedtb, &pitchtb, &volumetb})
        if (bar->onrangechange)
            bar->onrangechange();
    notifykey_ = ttscentral_->registerSink(&notifysink_);
}

void VoiceSelection::audioreset() {
    if (ttscentral_)
        ttscentral_->audioReset();
}

void VoiceSelection::inject(const std::string &tag) {
    if (ttscentral_)
        ttscentral_->inject(tag);
}

} // namespace hunt
