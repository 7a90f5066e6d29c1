#include "display/DisplayEnumeration.h"
#include "settings/ConfigFile.h"
#include "settings/ConfigModel.h"
#include "tests/display/FakeDxgi.h"

#include <gtest/gtest.h>

using namespace fake_dxgi;

namespace {

OutputScript output(RECT desktop, bool attached = true) {
    OutputScript script;
    script.desktop = desktop;
    script.attached = attached;
    script.modes = {mode(1920, 1080), mode(1280, 720)};
    return script;
}

AdapterScript adapter(UINT vendor, UINT device, std::vector<OutputScript> outputs) {
    AdapterScript script;
    script.vendor = vendor;
    script.device = device;
    script.outputs = std::move(outputs);
    return script;
}

class AdapterList : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(liveObjects(), 0) << "every factory, adapter and output must be released";
    }
    ConfigFile settings{"unused-vantorra.ini"};
};

void expectPlaceholderOnly(const ConfigModel& model) {
    ASSERT_EQ(model.adapters().size(), 1u);
    const AdapterInfo& only = model.adapters()[0];
    EXPECT_EQ(only.desc.VendorId, 0u);
    ASSERT_EQ(only.monitors.size(), 1u);
    EXPECT_FALSE(only.monitors[0].desc.AttachedToDesktop);
    EXPECT_EQ(only.monitors[0].globalIndex, 0);
    EXPECT_EQ(sizes(only.monitors[0].modes), (std::vector<std::pair<int, int>>{{0, 0}}));
    ASSERT_EQ(model.desktopMonitors().size(), 1u);
    EXPECT_EQ(model.desktopMonitors()[0], &only.monitors[0]);
}

} // namespace

TEST_F(AdapterList, SoftwareRendererIsDropped) {
    FactoryScript script;
    script.adapters = {adapter(0x1414, 0x8C, {output({0, 0, 1920, 1080})}),
                       adapter(0x1002, 0x73BF, {output({0, 0, 1920, 1080})}),
                       adapter(0x1414, 0x8D, {output({1920, 0, 3840, 1080})})};
    ConfigModel model(settings, sourceFor(script));
    ASSERT_EQ(model.adapters().size(), 2u) << "only 0x1414:0x8C is the software renderer";
    EXPECT_EQ(model.adapters()[0].desc.VendorId, 0x1002u);
    EXPECT_EQ(model.adapters()[1].monitors[0].globalIndex, 1);

    script.adapters = {adapter(0x1414, 0x8C, {output({0, 0, 1920, 1080})})};
    ConfigModel softwareOnly(settings, sourceFor(script));
    expectPlaceholderOnly(softwareOnly);
}

TEST_F(AdapterList, MonitorsAreNumberedAcrossAdapters) {
    FactoryScript script;
    script.adapters = {
        adapter(0x10DE, 1, {output({0, 0, 1920, 1080}), output({}, false)}),
        adapter(0x1002, 2, {output({1920, 0, 3840, 1080}), output({-1920, 0, 0, 1080})})};
    script.adapters[1].videoMemory = 3072u << 20;
    ConfigModel model(settings, sourceFor(script));
    ASSERT_EQ(model.adapters().size(), 2u);
    std::vector<int> global;
    for (const AdapterInfo& info : model.adapters())
        for (const MonitorInfo& monitor : info.monitors)
            global.push_back(monitor.globalIndex);
    EXPECT_EQ(global, (std::vector<int>{0, 1, 2, 3}));

    ASSERT_EQ(model.desktopMonitors().size(), 3u);
    EXPECT_EQ(model.desktopMonitors()[0]->globalIndex, 0);
    EXPECT_EQ(model.desktopMonitors()[1]->globalIndex, 2);
    EXPECT_EQ(model.desktopMonitors()[2]->globalIndex, 3);
    EXPECT_EQ(model.desktopMonitors()[2]->desc.DesktopCoordinates.left, -1920);

    EXPECT_EQ(&model.monitorAt(1), model.desktopMonitors()[1]);
    EXPECT_EQ(&model.monitorAt(200), model.desktopMonitors()[2]) << "clamped to the last";
    EXPECT_EQ(model.adapterAt(0).desc.VendorId, 0x10DEu);
    EXPECT_EQ(model.adapterAt(9).desc.DedicatedVideoMemory, 3072u << 20);
}

TEST_F(AdapterList, NoDxgiGivesOnePlaceholderOfEachKind) {
    FactoryScript script;
    script.createResult = DXGI_ERROR_UNSUPPORTED;
    ConfigModel noFactory(settings, sourceFor(script));
    expectPlaceholderOnly(noFactory);

    ConfigModel noAdapters(settings, sourceFor(FactoryScript{}));
    expectPlaceholderOnly(noAdapters);
}

TEST_F(AdapterList, AdapterWithoutOutputsGetsACountedPlaceholderMonitor) {
    FactoryScript script;
    script.adapters = {adapter(0x8086, 1, {}), adapter(0x10DE, 2, {output({0, 0, 2560, 1440})})};
    ConfigModel model(settings, sourceFor(script));
    ASSERT_EQ(model.adapters().size(), 2u);
    const MonitorInfo& placeholder = model.adapters()[0].monitors.at(0);
    EXPECT_EQ(model.adapters()[0].monitors.size(), 1u);
    EXPECT_EQ(placeholder.globalIndex, 0);
    EXPECT_FALSE(placeholder.desc.AttachedToDesktop);
    EXPECT_EQ(placeholder.modes.size(), 1u);
    EXPECT_EQ(placeholder.modes[0].width, 0);

    ASSERT_EQ(model.desktopMonitors().size(), 1u);
    EXPECT_EQ(model.desktopMonitors()[0]->globalIndex, 1) << "no monitor reads as primary";

    // Nothing attached anywhere: the first monitor of the first adapter stands in.
    script.adapters[1].outputs[0].attached = false;
    ConfigModel detached(settings, sourceFor(script));
    EXPECT_EQ(detached.desktopMonitors().at(0), &detached.adapters()[0].monitors[0]);
}

TEST_F(AdapterList, FailuresOtherThanNotFoundEndTheLists) {
    FactoryScript script;
    script.adapters = {adapter(0x10DE, 1, {output({0, 0, 1920, 1080})})};
    script.adapters[0].outputsEnd = E_FAIL;
    script.adaptersEnd = DXGI_ERROR_DEVICE_REMOVED;
    script.adapters[0].outputs.push_back(output({1920, 0, 3840, 1080}));
    script.adapters[0].outputs[1].descResult = E_FAIL;
    ConfigModel model(settings, sourceFor(script));
    ASSERT_EQ(model.adapters().size(), 1u);
    ASSERT_EQ(model.adapters()[0].monitors.size(), 2u);
    const MonitorInfo& unknown = model.adapters()[0].monitors[1];
    EXPECT_FALSE(unknown.desc.AttachedToDesktop) << "a failed description stays zero";
    EXPECT_EQ(unknown.desc.DesktopCoordinates.right, 0);
    EXPECT_EQ(unknown.modes.size(), 2u) << "its modes are still listed";
    EXPECT_EQ(model.desktopMonitors().size(), 1u);
}
