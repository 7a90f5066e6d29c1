#include "launch/LauncherClaim.h"

#include "platform/Fnv.h"
#include "platform/Processes.h"
#include "platform/SystemHooks.h"
#include "platform/Text.h"

namespace {

// How far the holder got; with its process id, one word that changes atomically.
enum Phase : uint32_t { kStarting = 1, kShown = 2, kEnding = 3 };

constexpr DWORD kPollMs = 20;
// A holder with no window after this long is stuck: still starting (it builds its window
// hidden while it waits for its pictures), committed to show it, or being ended by a
// launcher that was itself ended before it could finish the job.
constexpr DWORD kStartingLimitMs = 2000;
constexpr DWORD kShownLimitMs = 5000;
constexpr DWORD kEndingLimitMs = 1000;
// Past this nothing settled it (a holder that cannot be ended): carry on as the only one.
constexpr DWORD kGiveUpMs = 15000;

LONG64 pack(DWORD pid, Phase phase) {
    return static_cast<LONG64>((static_cast<uint64_t>(pid) << 32) | phase);
}
DWORD pidOf(uint64_t word) {
    return static_cast<DWORD>(word >> 32);
}
Phase phaseOf(uint64_t word) {
    return static_cast<Phase>(word & 0xFFFFFFFFu);
}

uint64_t load(volatile LONG64* word) {
    return static_cast<uint64_t>(InterlockedCompareExchange64(word, 0, 0));
}

DWORD limitFor(Phase phase) {
    switch (phase) {
    case kStarting:
        return kStartingLimitMs;
    case kShown:
        return kShownLimitMs;
    default:
        return kEndingLimitMs;
    }
}

} // namespace

std::wstring LauncherClaim::nameFor(const std::string& folder) {
    std::wstring wide = toWideString(folder);
    // Folded as the file system folds letter case, not by the player's language.
    std::wstring folded(wide.size(), L'\0');
    int length = wide.empty() ? 0
                              : LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.c_str(),
                                              static_cast<int>(wide.size()), folded.data(),
                                              static_cast<int>(folded.size()), nullptr, nullptr, 0);
    if (length > 0)
        folded.resize(static_cast<size_t>(length));
    else
        folded = wide;
    // Hashed (FNV-1a): a path may be longer than a name, and its backslashes would make it
    // a path in the object namespace.
    Fnv1a hash;
    for (wchar_t unit : folded)
        hash.add(static_cast<uint16_t>(unit));
    std::wstring name = L"Local\\VantorraLauncher.";
    for (int shift = 60; shift >= 0; shift -= 4)
        name += L"0123456789abcdef"[(hash.value >> shift) & 0xF];
    return name;
}

LauncherClaim::LauncherClaim(const std::string& folder) : folder_(folder) {
    if (folder.empty())
        return;
    std::wstring name = nameFor(folder);
    HANDLE mutex = systemHooks.createMutex(nullptr, FALSE, name.c_str());
    // There, but not ours to open: a launcher running elevated or as another user holds it.
    heldElsewhere_ = !mutex && GetLastError() == ERROR_ACCESS_DENIED;
    mutex_ = Handle(mutex);
    mapping_ = Handle(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                         sizeof(LONG64), (name + L".holder").c_str()));
    void* view = mapping_ ? MapViewOfFile(mapping_.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0,
                                          sizeof(LONG64))
                          : nullptr;
    if (view)
        word_ = static_cast<volatile LONG64*>(view);
}

LauncherClaim::~LauncherClaim() {
    if (held_) {
        LONG64 mine = static_cast<LONG64>(load(word_));
        if (pidOf(mine) == GetCurrentProcessId())
            InterlockedCompareExchange64(word_, 0, mine);
        ReleaseMutex(mutex_.get());
    }
    if (word_ != &ownWord_)
        UnmapViewOfFile(const_cast<LONG64*>(word_));
}

bool LauncherClaim::take() {
    if (heldElsewhere_) {
        if (DWORD pid = pidOf(load(word_)))
            if (HWND window = findShownProcessWindow(pid))
                bringToFront(window);
        return false;
    }
    if (!mutex_)
        return true;
    DWORD self = GetCurrentProcessId();
    DWORD start = GetTickCount();
    uint64_t seen = 0;
    DWORD seenSince = start;
    for (;;) {
        DWORD waited = WaitForSingleObject(mutex_.get(), kPollMs);
        // Abandoned: its holder ended without letting go; the claim is this one's all the same.
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
            held_ = true;
            InterlockedExchange64(word_, pack(self, kStarting));
            return true;
        }
        if (waited != WAIT_TIMEOUT)
            return true;

        DWORD now = GetTickCount();
        uint64_t holder = load(word_);
        if (holder != seen) {
            seen = holder;
            seenSince = now;
        }
        DWORD pid = pidOf(holder);
        if (pid != 0 && pid != self) {
            if (HWND window = findShownProcessWindow(pid)) {
                bringToFront(window);
                return false;
            }
            if (now - seenSince >= limitFor(phaseOf(holder))) {
                endStuckHolder(holder);
                seenSince = GetTickCount();
            }
        }
        if (now - start >= kGiveUpMs)
            return true;
    }
}

void LauncherClaim::endStuckHolder(uint64_t seen) {
    DWORD pid = pidOf(seen);
    Handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION,
                               FALSE, pid));
    // Gone already, or its id given to a process of another folder since (the word may name
    // a holder that ended before the next one wrote its own): not ours to end. The open
    // handle keeps the id from passing on before it is ended.
    if (!process || nameFor(getProcessDirectory(pid)) != nameFor(folder_))
        return;
    // Marked first, so that it never shows a window from here on; it may have committed to
    // show one meanwhile, and then it is left alone.
    auto expected = static_cast<LONG64>(seen);
    if (phaseOf(seen) != kEnding &&
        InterlockedCompareExchange64(word_, pack(pid, kEnding), expected) != expected)
        return;
    endProcess(process.get());
}

bool LauncherClaim::commitToShow() {
    if (!held_)
        return true;
    DWORD self = GetCurrentProcessId();
    auto found = static_cast<uint64_t>(
        InterlockedCompareExchange64(word_, pack(self, kShown), pack(self, kStarting)));
    return !(pidOf(found) == self && phaseOf(found) == kEnding);
}
