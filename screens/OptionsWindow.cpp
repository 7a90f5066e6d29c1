#include "screens/OptionsWindow.h"

#include "display/Resolution.h"
#include "platform/SystemError.h"
#include "platform/Text.h"
#include "settings/ConfigFile.h"

#include <algorithm>
#include <cstdint>

namespace {

// At 96 DPI; the window scales them for its monitor. The window is as wide as the
// panel's content plus room for a vertical scroll bar.
constexpr int kContentWidth = 460;
constexpr int kScrollBarWidth = 17;
constexpr int kContentHeight = 235;
constexpr int kMargin = 10;
constexpr int kRowInset = 13; // of labels and lists inside the panel
constexpr int kRowPitch = 27;
constexpr int kRowHeight = 23;
constexpr int kListWidth = 205;

} // namespace

OptionsWindow::OptionsWindow(VellGui::Window& owner, ConfigFile& configuration,
                             const Artwork& artwork, DxgiFactorySource displays)
    : model(configuration, std::move(displays)), settings(configuration), artwork(artwork) {
    setSize(kContentWidth + kScrollBarWidth, kContentHeight + 2 * artwork.segoe15->height);
    icon = artwork.windowIcon;
    create(&owner, "Einstellungen", VellGui::kCaptionedWindow);
    build();
    bind();
    onDpiChange = [this] { relayout(); };
}

void OptionsWindow::build() {
    using namespace VellGui;
    logo.setAlphaBlend(true);
    logo.create(this, artwork.logo, false);

    resetButton.setVAnchor(kAnchorEnd);
    resetButton.create(this, artwork.segoe15, "Zurücksetzen", kPushButton);

    cancelButton.setHAnchor(kAnchorEnd);
    cancelButton.setVAnchor(kAnchorEnd);
    cancelButton.create(this, artwork.segoe15, "Abbrechen", kPushButton);
    cancelButton.hotKey = VK_ESCAPE;

    saveButton.setHAnchor(kAnchorEnd);
    saveButton.setVAnchor(kAnchorEnd);
    saveButton.create(this, artwork.segoe15, "Speichern", kPushButton);

    // The buttons' sizes place the panel; its rows are created in their places.
    placeControls();
    panel.create(this);
    for (const Row& row : rows()) {
        row.label.setTransparent(false);
        row.label.create(&panel, artwork.segoe15, row.caption);
        row.list.setHAnchor(kAnchorEnd);
        row.list.create(&panel, artwork.segoe15);
    }
    modeList.addItem("Vollbild");
    modeList.addItem("Fenster (Rahmenlos)");
}

void OptionsWindow::bind() {
    // A controller starts on the first list; back cancels, and the buttons without a
    // control of their own stand for "Zurücksetzen" and "Speichern". The prompts say what
    // the bindings do.
    padStart = &monitorList;
    padBindings = {{PadInput::A, nullptr, "Auswählen"},
                   {PadInput::B, &cancelButton, ""},
                   {PadInput::Y, &resetButton, ""},
                   {PadInput::Menu, &saveButton, ""}};
    // Below the rows, in the panel's free bottom left corner.
    padPrompts.setVAnchor(VellGui::kAnchorEnd);
    padPrompts.create(&panel, artwork.segoe15, artwork.segoe15Bold, RGB(0, 0, 0), padBindings);
    placePrompts();
    prompts = &padPrompts;

    resetButton.onClick = [this] { restoreDefaults(); };
    saveButton.onClick = [this] { saveAndClose(); };
    cancelButton.onClick = [this] { close(); };
    monitorList.onChange = [this] { onMonitorChanged(); };
    modeList.onChange = [this] { refreshMarkers(); };
    resolutionList.onChange = [this] { onResolutionChanged(); };
}

void OptionsWindow::relayout() {
    logo.rescale();
    // Save and cancel measure their captions anew before they are made alike again.
    for (VellGui::Button* button : {&saveButton, &cancelButton})
        button->setSize(0, 0);
    for (VellGui::Button* button : {&resetButton, &saveButton, &cancelButton})
        button->rescale();
    placeControls();
    for (const Row& row : rows())
        row.list.rescale();
    padPrompts.rescale();
    placePrompts();
}

std::array<OptionsWindow::Row, 3> OptionsWindow::rows() {
    return {{{monitorLabel, "Monitor", monitorList},
             {modeLabel, "Anzeigemodus", modeList},
             {resolutionLabel, "Auflösung", resolutionList}}};
}

void OptionsWindow::placeControls() {
    using namespace VellGui;
    const int margin = scaled(kMargin);
    logo.setPosition(margin, margin);
    resetButton.setPosition(margin, height - margin);
    cancelButton.setPosition(width - margin, height - margin);
    saveButton.setPosition(cancelButton.x - margin, height - margin);

    // Save and cancel share one size; the reset button keeps its own.
    int buttonWidth = std::max(saveButton.width, cancelButton.width);
    int buttonHeight = std::max(saveButton.height, cancelButton.height);
    saveButton.setSize(buttonWidth, buttonHeight);
    cancelButton.setSize(buttonWidth, buttonHeight);

    panel.setPosition(margin, logo.height + 2 * margin);
    panel.setSize(width - 2 * margin, height - buttonHeight - logo.height - 4 * margin);

    int rowY = kRowInset;
    for (const Row& row : rows()) {
        // Width 0: the text decides it; the height centres the text beside its list.
        row.label.setPosition(scaled(kRowInset), scaled(rowY));
        row.label.setSize(0, scaled(kRowHeight));
        row.label.relayout();
        row.list.setPosition(panel.width - scaled(kRowInset), row.label.y);
        row.list.setSize(scaled(kListWidth), scaled(kRowHeight));
        rowY += kRowPitch;
    }
}

void OptionsWindow::placePrompts() {
    padPrompts.setPosition(scaled(kRowInset), panel.height - scaled(kRowInset));
}

void OptionsWindow::loadValues() {
    model.readAll();
    fillMonitorList();
    fillResolutionList();
    ready = false;
    // Each selection runs its handler: the monitor's resolutions are listed, and the
    // resolution is remembered for that monitor.
    monitorList.setSelection(model.adapterEntry().value);
    resolutionList.setSelection(model.resolutionEntry().value);
    modeList.setSelection(model.windowEntry().value);
    ready = true;
    refreshMarkers();
}

void OptionsWindow::fillMonitorList() {
    monitorList.clear();
    // Numbered by the monitor's place among all outputs, so the numbers the player sees
    // stay the same when a monitor in between is detached.
    for (const MonitorInfo* monitor : model.desktopMonitors()) {
        if (monitor->globalIndex == 0)
            monitorList.addItem("Primär");
        else
            monitorList.addItem(formatText("%s %u", "Sekundär", unsigned(monitor->globalIndex)));
    }
}

void OptionsWindow::fillResolutionList() {
    resolutionList.clear();
    const MonitorInfo& monitor = model.monitorAt(monitorList.selected);
    for (const ModeInfo& mode : monitor.modes)
        resolutionList.addItem(::resolutionLabel(mode));
    resolutionList.setSelection(resolutionByMonitor[monitorList.selected]);
    resolutionList.redraw();
}

void OptionsWindow::onMonitorChanged() {
    fillResolutionList();
    refreshMarkers();
}

void OptionsWindow::onResolutionChanged() {
    resolutionByMonitor[monitorList.selected] = resolutionList.selected;
    refreshMarkers();
}

void OptionsWindow::refreshMarkers() {
    if (!ready)
        return;
    const ModeInfo& chosen =
        modeAt(model.monitorAt(monitorList.selected), std::max(resolutionList.selected, 0));
    const ModeInfo& saved =
        modeAt(model.monitorAt(model.adapterEntry().value), model.resolutionEntry().value);
    mark(resolutionLabel, !sameResolution(chosen, saved));
    mark(monitorLabel,
         static_cast<std::uint16_t>(monitorList.selected) != model.adapterEntry().value);
    mark(modeLabel, static_cast<std::uint16_t>(modeList.selected) != model.windowEntry().value);
}

void OptionsWindow::mark(VellGui::Label& label, bool changed) {
    VellGui::Font* wanted = changed ? artwork.segoe15Bold : artwork.segoe15;
    // A label whose font already is the right one keeps its window untouched.
    if (label.font == wanted)
        return;
    label.font = wanted;
    label.relayout();
}

void OptionsWindow::restoreDefaults() {
    const AdapterInfo& adapter = model.adapterAt(0);
    const MonitorInfo& monitor = model.monitorAt(monitorList.selected);
    int recommended = model.recommendResolution(adapter, monitor);
    ready = false;
    resolutionList.setSelection(recommended);
    modeList.setSelection(model.windowEntry().defaultValue);
    ready = true;
    refreshMarkers();
}

void OptionsWindow::saveAndClose() {
    model.adapterEntry().value = static_cast<std::uint16_t>(monitorList.selected);
    model.resolutionEntry().value = static_cast<std::uint16_t>(resolutionList.selected);
    model.windowEntry().value = static_cast<std::uint16_t>(modeList.selected);
    model.writeAll();
    // The player must not leave believing a choice was kept that the next start won't show:
    // one message, owned by this window, also when the read failed.
    if (!settings.save(ConfigFile::ReadErrors::leftToCaller))
        showSystemError(settings.saveError(), settings.saveFailure().c_str(), {hwnd});
    close();
}
