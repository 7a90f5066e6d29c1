#include "screens/OptionsWindow.h"

#include "display/Resolution.h"
#include "platform/SystemError.h"
#include "platform/Text.h"
#include "settings/ConfigFile.h"

#include <algorithm>
#include <cstdint>

namespace {

// The window is as wide as the panel's content plus room for a vertical scroll bar.
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
    using namespace VellGui;
    const int w = kContentWidth + kScrollBarWidth;
    const int h = kContentHeight + 2 * artwork.segoe15->height;
    setSize(w, h);
    icon = artwork.windowIcon;
    create(&owner, "Einstellungen", kCaptionedWindow);

    logo.setPosition(kMargin, kMargin);
    logo.setAlphaBlend(true);
    logo.create(this, artwork.logo, false);

    resetButton.setPosition(kMargin, h - kMargin);
    resetButton.setVAnchor(kAnchorEnd);
    resetButton.create(this, artwork.segoe15, "Zurücksetzen", kPushButton);

    cancelButton.setPosition(w - kMargin, h - kMargin);
    cancelButton.setHAnchor(kAnchorEnd);
    cancelButton.setVAnchor(kAnchorEnd);
    cancelButton.create(this, artwork.segoe15, "Abbrechen", kPushButton);
    cancelButton.hotKey = VK_ESCAPE;

    saveButton.setPosition(cancelButton.x - kMargin, h - kMargin);
    saveButton.setHAnchor(kAnchorEnd);
    saveButton.setVAnchor(kAnchorEnd);
    saveButton.create(this, artwork.segoe15, "Speichern", kPushButton);

    // Save and cancel share one size; the reset button keeps its own.
    int buttonWidth = std::max(saveButton.width, cancelButton.width);
    int buttonHeight = std::max(saveButton.height, cancelButton.height);
    saveButton.setSize(buttonWidth, buttonHeight);
    cancelButton.setSize(buttonWidth, buttonHeight);

    panel.setPosition(kMargin, logo.height + 2 * kMargin);
    panel.setSize(w - 2 * kMargin, h - buttonHeight - logo.height - 4 * kMargin);
    panel.create(this);

    struct Row {
        Label& label;
        const char* caption;
        ComboBox& list;
    };
    Row rows[] = {{monitorLabel, "Monitor", monitorList},
                  {modeLabel, "Anzeigemodus", modeList},
                  {resolutionLabel, "Auflösung", resolutionList}};
    int rowY = kRowInset;
    for (Row& row : rows) {
        // Width 0: the text decides it; the height centres the text beside its list.
        row.label.setPosition(kRowInset, rowY);
        row.label.setSize(0, kRowHeight);
        row.label.setTransparent(false);
        row.label.create(&panel, artwork.segoe15, row.caption);
        row.list.setPosition(panel.width - kRowInset, row.label.y);
        row.list.setSize(kListWidth, kRowHeight);
        row.list.setHAnchor(kAnchorEnd);
        row.list.create(&panel, artwork.segoe15);
        rowY += kRowPitch;
    }
    modeList.addItem("Vollbild");
    modeList.addItem("Fenster (Rahmenlos)");

    resetButton.onClick = [this] { restoreDefaults(); };
    saveButton.onClick = [this] { saveAndClose(); };
    cancelButton.onClick = [this] { close(); };
    monitorList.onChange = [this] { onMonitorChanged(); };
    modeList.onChange = [this] { refreshMarkers(); };
    resolutionList.onChange = [this] { onResolutionChanged(); };
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
    // The player must not leave believing a choice was kept that the next start won't show.
    if (!settings.save())
        showSystemError(
            settings.saveError(),
            formatText("The settings could not be saved to %s", settings.path().c_str()), {hwnd});
    close();
}
