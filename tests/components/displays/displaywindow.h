// The displays where the main window puts them (the meters' panel with both meters and the
// scale aligned to them, the spectrum, the oscilloscope), shown on the current platform.
// UI (test) thread; positions in pixels of the 314 × 404 client area.
#pragma once

#include "components/displays/levelmeter.h"
#include "components/displays/levelscale.h"
#include "components/displays/meterpanel.h"
#include "components/displays/oscilloscope.h"
#include "components/displays/spectrumdisplay.h"

#include <QTest>

#include <vector>

namespace quillet::test {

struct DisplayWindow {
    DisplayWindow()
    {
        window.resize(314, 404);
        panel = new MeterPanel(&window);
        panel->move(16, 40);
        left = new LevelMeter(panel);
        left->move(16, 8);
        right = new LevelMeter(panel);
        right->move(16, 16);
        scale = new LevelScale(panel);
        scale->move(32, 26);
        scale->AlignMeter(*left);
        scale->AlignMeter(*right);
        spectrum = new SpectrumDisplay(&window);
        spectrum->move(16, 128);
        scope = new Oscilloscope(&window);
        scope->move(43, 353);
    }
    [[nodiscard]] bool Show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }
    [[nodiscard]] std::vector<QWidget*> Displays() const
    {
        return {panel, left, right, scale, spectrum, scope};
    }

    QWidget window;
    MeterPanel* panel;
    LevelMeter* left;
    LevelMeter* right;
    LevelScale* scale;
    SpectrumDisplay* spectrum;
    Oscilloscope* scope;
};

} // namespace quillet::test
