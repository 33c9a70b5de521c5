#include "audio/speechd_voice.h"

#include "localization/codepage.h"
#include "runtime/errors.h"
#include "runtime/event_loop.h"

#include <libspeechd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace hunt {

std::string stripSapiXml(const std::string &text) {
    static const std::pair<std::string_view, char> entities[] = {
        {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '<') {
            const std::size_t close = text.find('>', i + 1);
            if (close != std::string::npos) {
                i = close + 1;
                continue;
            }
        } else if (text[i] == '&') {
            bool decoded = false;
            for (const auto &[name, ch] : entities)
                if (text.compare(i, name.size(), name) == 0) {
                    out += ch;
                    i += name.size();
                    decoded = true;
                    break;
                }
            if (decoded)
                continue;
        }
        out += text[i++];
    }
    return out;
}

namespace {

using Clock = std::chrono::steady_clock;

// libspeechd's callbacks carry no user pointer: they find their voice by client id.
struct Events {
    EventLoop *loop;
    std::function<void(std::size_t msgId, bool start)> handle; // runs on the UI thread
};

std::mutex registryMutex;
std::map<std::size_t, std::shared_ptr<Events>> registry;

void notify(std::size_t msgId, std::size_t clientId, bool start) {
    std::weak_ptr<Events> weak;
    EventLoop *loop = nullptr;
    {
        std::lock_guard lock(registryMutex);
        const auto found = registry.find(clientId);
        if (found == registry.end())
            return;
        weak = found->second;
        loop = found->second->loop;
    }
    loop->post([weak, msgId, start] {
        if (const auto events = weak.lock())
            events->handle(msgId, start); // else the voice is gone
    });
}

void onBegin(std::size_t msgId, std::size_t clientId, SPDNotificationType) {
    notify(msgId, clientId, true);
}
void onEnd(std::size_t msgId, std::size_t clientId, SPDNotificationType) {
    notify(msgId, clientId, false);
}

class SpeechdVoice final : public SystemVoice {
public:
    SpeechdVoice(EventLoop &loop, const std::string &socketPath, bool autospawn,
                 std::chrono::milliseconds endTimeout)
        : endTimeout_(endTimeout) {
        SPDConnectionAddress address{};
        std::string socket = socketPath;
        if (!socketPath.empty()) {
            address.method = SPD_METHOD_UNIX_SOCKET;
            address.unix_socket_name = socket.data();
        }
        char *error = nullptr;
        connection_ = spd_open2("hunt", "speech", nullptr, SPD_MODE_THREADED,
                                socketPath.empty() ? nullptr : &address, autospawn ? 1 : 0, &error);
        if (!connection_) {
            std::string message = "The speech service speech-dispatcher cannot be reached";
            if (error && *error)
                message += std::string(": ") + error;
            std::free(error);
            throw HuntError(message + ".");
        }
        std::free(error);
        connection_->callback_begin = &onBegin;
        connection_->callback_end = &onEnd;
        connection_->callback_cancel = &onEnd;
        if (spd_set_notification_on(connection_, SPD_BEGIN) != 0 ||
            spd_set_notification_on(connection_, SPD_END) != 0 ||
            spd_set_notification_on(connection_, SPD_CANCEL) != 0) {
            spd_close(connection_);
            throw HuntError("The speech service speech-dispatcher refuses its events.");
        }
        watchdog_ = loop.createTimer();
        watchdog_->setInterval(200);
        watchdog_->ontimer = [this] { expire(); };
        events_ = std::make_shared<Events>(
            Events{&loop, [this](std::size_t msgId, bool start) { handle(msgId, start); }});
        clientId_ = static_cast<std::size_t>(spd_get_client_id(connection_));
        std::lock_guard lock(registryMutex);
        registry[clientId_] = events_;
    }

    ~SpeechdVoice() override {
        {
            std::lock_guard lock(registryMutex);
            const auto found = registry.find(clientId_);
            if (found != registry.end() && found->second == events_)
                registry.erase(found);
        }
        events_.reset();
        spd_cancel(connection_);
        spd_close(connection_);
    }

    void Speak(const std::string &text, int flags) override {
        if (flags & speakPurgeBeforeSpeak) {
            if (spd_cancel(connection_) != 0)
                throw HuntError("The speech service speech-dispatcher cannot stop the speech.");
            const auto soon = Clock::now() + std::chrono::seconds(2);
            for (auto &[id, deadline] : outstanding_)
                deadline = std::min(deadline, soon);
        }
        const std::string plain = (flags & speakIsXml) ? stripSapiXml(text) : text;
        if (plain.empty())
            return;
        const int id = spd_say(connection_, SPD_MESSAGE, toUtf8(plain).c_str());
        if (id < 0)
            throw HuntError("The speech service speech-dispatcher cannot speak the text.");
        outstanding_[static_cast<std::size_t>(id)] =
            Clock::now() + endTimeout_ + std::chrono::milliseconds(250) * plain.size();
        watchdog_->setEnabled(true);
    }

private:
    void handle(std::size_t msgId, bool start) {
        if (start) {
            if (onStartStream)
                onStartStream();
            return;
        }
        outstanding_.erase(msgId);
        if (outstanding_.empty())
            watchdog_->setEnabled(false);
        if (onEndStream)
            onEndStream();
    }

    // Texts whose end is long overdue count as ended.
    void expire() {
        const auto now = Clock::now();
        const auto erased =
            std::erase_if(outstanding_, [now](const auto &entry) { return entry.second <= now; });
        if (outstanding_.empty())
            watchdog_->setEnabled(false);
        if (erased > 0 && onEndStream)
            onEndStream();
    }

    SPDConnection *connection_ = nullptr;
    std::chrono::milliseconds endTimeout_;
    std::map<std::size_t, Clock::time_point> outstanding_; // said, end not yet reported
    std::unique_ptr<Timer> watchdog_;
    std::shared_ptr<Events> events_;
    std::size_t clientId_ = 0;
};

} // namespace

std::unique_ptr<SystemVoice> makeSpeechdVoice(EventLoop &loop, const std::string &socketPath,
                                              bool autospawn,
                                              std::chrono::milliseconds endTimeout) {
    return std::make_unique<SpeechdVoice>(loop, socketPath, autospawn, endTimeout);
}

SystemVoiceFactory speechdVoiceFactory(std::string socketPath, bool autospawn) {
    return [socketPath = std::move(socketPath), autospawn](EventLoop &loop) {
        return makeSpeechdVoice(loop, socketPath, autospawn);
    };
}

} // namespace hunt
