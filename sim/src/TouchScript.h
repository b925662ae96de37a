// The scripted hand on the simulated panel: finger and stylus paths that the firmware plays in
// its touch modes, one step per point-report interval, as point reports, touch-key reports and
// the touch or stylus information records that go with them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Streams.h"

namespace sim {

// One contact as a point record carries it.
struct Contact {
    uint8_t id = 0;
    uint8_t status = 0;  // bit 0 contact, 1 barrel, 3 eraser, 4 stylus in range, 5 hover
    uint16_t x = 0, y = 0;
    int16_t z = 0;
    uint8_t byte8 = 0, byte9 = 0;  // size, or the stylus tilt
};

// What the panel feels during one step.
struct Step {
    std::vector<Contact> contacts;
    uint8_t water = 0;  // 0 dry, 1..3 the firmware's water states
    int16_t waterQuantity = 0;
    uint8_t palm = 0;
    int key = -1;  // the touch key held, -1 none
};

// Names of the path parts a profile can list.
bool isTouchPathPart(const std::string& name);

// The steps of the named parts, in order, on a panel with the given coordinate maxima and touch
// keys. "demo" is lines, a circle, contacts that start and end on the border and two fingers.
std::vector<Step> buildTouchScript(const std::vector<std::string>& parts, int maxX, int maxY,
                                   int touchKeys);

// What the information records report besides the script.
struct InfoContext {
    int infoMode = 0;  // 0 none, 1 touch, 2 stylus
    uint8_t freqIndex = 0;
    uint8_t threshold = 0;
    uint32_t errorWord = 0;
    int stylusChannels = 0;
};

// Plays a script: every call is one report interval. The script repeats; restart() goes back to
// its start (the firmware entering a touch mode). A key the panel holds down (`heldKey`, -1 none)
// is pressed whenever the script holds no key of its own; its state is sent when it changes and
// again every `repeatEvery` intervals while it stays down.
class TouchPlayer {
  public:
    TouchPlayer(std::vector<Step> script, int infoEvery, int touchKeys, int heldKey = -1,
                int repeatEvery = 1);

    void restart();
    // Something is played at the report interval: a script, or a key held down.
    bool paced() const { return !script_.empty() || heldKey_ >= 0; }
    void appendStep(Reports& out, const InfoContext& info);

  private:
    void appendPoints(Reports& out, const Step& step);
    void appendKey(Reports& out, const Step& step);
    Report touchInfo(const Step& step, const InfoContext& info) const;
    Report stylusInfo(const Step& step, const InfoContext& info) const;

    std::vector<Step> script_;
    int infoEvery_;
    int touchKeys_;
    int heldKey_;
    int repeatEvery_;
    long tick_ = 0;
    std::vector<Contact> previous_;
    int previousKey_ = -1;
};

}  // namespace sim
