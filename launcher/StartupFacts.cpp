#include "launcher/StartupFacts.h"

#include "gui/Placement.h"
#include "launch/GameLaunch.h"
#include "platform/Processes.h"

namespace {

// Far beyond what finding them out takes on a busy machine.
constexpr DWORD kAnswerLimitMs = 10000;

} // namespace

StartupFacts::StartupFacts() : pending(std::make_shared<Answers>()) {
    auto* shared = new std::shared_ptr<Answers>(pending);
    thread = Handle(CreateThread(nullptr, 0, findOnThread, shared, 0, nullptr));
    if (!thread)
        delete shared;
}

DWORD WINAPI StartupFacts::findOnThread(void* answers) {
    std::unique_ptr<std::shared_ptr<Answers>> shared(
        static_cast<std::shared_ptr<Answers>*>(answers));
    findOut(**shared);
    return 0;
}

void StartupFacts::findOut(Answers& found) {
    found.folder = getProcessDirectory(0);
    found.startingWindow = VellGui::startingWindowCentre();
    found.version = ::gameVersion();
}

void StartupFacts::wait() {
    if (waited)
        return;
    waited = true;
    if (!thread)
        findOut(answers);
    else if (WaitForSingleObject(thread.get(), kAnswerLimitMs) == WAIT_OBJECT_0)
        answers = *pending;
}

std::string StartupFacts::launcherFolder() {
    wait();
    return answers.folder;
}

std::optional<POINT> StartupFacts::startingWindowCentre() {
    wait();
    return answers.startingWindow;
}

std::string StartupFacts::gameVersion() {
    wait();
    return answers.version;
}
