#include "platform/VisualStyles.h"

#include "platform/StartupValues.h"

namespace {

// Made once and kept for the run.
HANDLE visualStylesContext() {
    static HANDLE context = [] {
        ACTCTXW description = {};
        description.cbSize = sizeof(description);
        description.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
        description.hModule = startup::instance ? startup::instance : GetModuleHandleW(nullptr);
        description.lpResourceName = MAKEINTRESOURCEW(kVisualStylesManifest);
        return CreateActCtxW(&description);
    }();
    return context;
}

} // namespace

VisualStyles::VisualStyles() {
    HANDLE context = visualStylesContext();
    active_ = context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie_);
}

VisualStyles::~VisualStyles() {
    if (active_)
        DeactivateActCtx(0, cookie_);
}
