#pragma once
// The options screen: monitor, display mode and full-screen resolution, each a drop-down
// list whose label turns bold while the choice differs from the saved one. "Zurücksetzen"
// proposes the recommended values, "Speichern" writes vantorra.ini and closes,
// "Abbrechen", Escape and the close box close without writing.
#include "display/DisplayEnumeration.h"
#include "gui/Button.h"
#include "gui/ButtonPrompts.h"
#include "gui/ComboBox.h"
#include "gui/Group.h"
#include "gui/Image.h"
#include "gui/Label.h"
#include "gui/Window.h"
#include "screens/Artwork.h"
#include "settings/ConfigModel.h"

#include <array>
#include <map>
#include <utility>

class ConfigFile;

class OptionsWindow : public VellGui::Window {
public:
    // Builds the window over `owner`, which stays disabled until this one closes, and
    // enumerates the displays through `displays`.
    OptionsWindow(VellGui::Window& owner, ConfigFile& settings, const Artwork& artwork,
                  DxgiFactorySource displays = createSystemDxgiFactory);
    ~OptionsWindow() override = default;

    // Reads the saved values and selects them; called once, before run.
    void loadValues();

    void onMonitorChanged();
    void onResolutionChanged();
    // Bold labels for the rows whose choice differs from the saved value.
    void refreshMarkers();
    // The recommended resolution for the selected monitor and the borderless window;
    // nothing is written until "Speichern".
    void restoreDefaults();
    void saveAndClose();

    VellGui::Image logo;
    VellGui::Button resetButton;
    VellGui::Button saveButton;
    VellGui::Button cancelButton;
    VellGui::Group panel;
    VellGui::Label monitorLabel;
    VellGui::Label modeLabel;
    VellGui::Label resolutionLabel;
    VellGui::ComboBox monitorList;
    VellGui::ComboBox modeList;
    VellGui::ComboBox resolutionList;
    // What the controller's buttons do here, while the player uses one.
    VellGui::ButtonPrompts padPrompts;
    ConfigModel model;
    // The resolution last chosen for each monitor while the window is open.
    std::map<int, int> resolutionByMonitor;
    // False while the window sets its own lists: the rows are marked once it is done.
    bool ready = false;

private:
    // One row of the panel: a label and its list.
    struct Row {
        VellGui::Label& label;
        const char* caption;
        VellGui::ComboBox& list;
    };
    std::array<Row, 3> rows();
    // The controls, made in their places.
    void build();
    // What the buttons, the lists and the controller's buttons do.
    void bind();
    // The places and sizes of the controls at the window's DPI, from their measured sizes.
    void placeControls();
    // After a change of DPI: every control measured, placed and sized anew.
    void relayout();
    void placePrompts();
    void fillMonitorList();
    void fillResolutionList();
    // The label's font: bold while its row's choice differs from the saved one.
    void mark(VellGui::Label& label, bool changed);

    ConfigFile& settings;
    Artwork artwork;
};
