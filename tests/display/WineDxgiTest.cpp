#include "settings/ConfigFile.h"
#include "settings/ConfigModel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

TEST(WineDxgi, ListsTheScreenAndWritesItsResolution) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    ConfigFile settings("unused-vantorra.ini");
    ConfigModel model(settings);

    // What Wine offers, for reading a failure.
    for (const AdapterInfo& adapter : model.adapters())
        for (const MonitorInfo& monitor : adapter.monitors) {
            const RECT& r = monitor.desc.DesktopCoordinates;
            std::printf("adapter %04X:%04X monitor %u attached %d (%ld,%ld)-(%ld,%ld), %zu modes\n",
                        adapter.desc.VendorId, adapter.desc.DeviceId, monitor.globalIndex,
                        monitor.desc.AttachedToDesktop, r.left, r.top, r.right, r.bottom,
                        monitor.modes.size());
        }

    ASSERT_GE(model.adapters().size(), 1u);
    EXPECT_NE(model.adapters()[0].desc.VendorId, 0u) << "a real adapter, not the placeholder";
    const MonitorInfo& screen = model.monitorAt(0);
    EXPECT_TRUE(screen.desc.AttachedToDesktop);
    const RECT& desktop = screen.desc.DesktopCoordinates;
    EXPECT_EQ(desktop.right - desktop.left, screenWidth);
    EXPECT_EQ(desktop.bottom - desktop.top, screenHeight);
    ASSERT_FALSE(screen.modes.empty());
    EXPECT_EQ(screen.modes[0].width, screenWidth) << "the screen's own size is its widest mode";
    EXPECT_EQ(screen.modes[0].height, screenHeight);

    model.readAll();
    model.writeAll();
    EXPECT_EQ(settings.get("Window"), "1");
    EXPECT_EQ(settings.get("Adapter"), "0");
    EXPECT_EQ(settings.get("Resolution"),
              std::to_string(screenWidth) + "x" + std::to_string(screenHeight));
    EXPECT_EQ(settings.get("StartUpperPos"), "0 0");
}
