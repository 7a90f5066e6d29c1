#include "launcher/StartupChecks.h"

#include "gui/Placement.h"
#include "launch/GameLaunch.h"
#include "platform/Processes.h"

namespace {

// Far beyond what the checks take on a busy machine.
constexpr DWORD kAnswerLimitMs = 10000;

} // namespace

StartupChecks::StartupChecks() : pending(std::make_shared<Answers>()) {
    auto* shared = new std::shared_ptr<Answers>(pending);
    thread = Handle(CreateThread(nullptr, 0, check, shared, 0, nullptr));
    if (!thread)
        delete shared;
}

DWORD WINAPI StartupChecks::check(void* answers) {
    std::unique_ptr<std::shared_ptr<Answers>> shared(
        static_cast<std::shared_ptr<Answers>*>(answers));
    findOut(**shared);
    return 0;
}

void StartupChecks::findOut(Answers& found) {
    found.folder = getProcessDirectory(0);
    found.startingWindow = VellGui::startingWindowCentre();
    found.version = ::gameVersion();
}

void StartupChecks::wait() {
    if (waited)
        return;
    waited = true;
    if (!thread)
        findOut(answers);
    else if (WaitForSingleObject(thread.get(), kAnswerLimitMs) == WAIT_OBJECT_0)
        answers = *pending;
}

std::string StartupChecks::launcherFolder() {
    wait();
    return answers.folder;
}

std::optional<POINT> StartupChecks::startingWindowCentre() {
    wait();
    return answers.startingWindow;
}

std::string StartupChecks::gameVersion() {
    wait();
    return answers.version;
}
