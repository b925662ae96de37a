// The builder's model of a simulated controller of each supported model, opened and initialised as
// start-up does, once per process, so that a fuzz target can load files into its parameter sets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

class CController;
struct BuilderOptions;

namespace fuzz {

// The controller of the model with this type code; the first model of the table for any other
// code. The working folder is the scratch folder. Dies with a finding when the simulator cannot
// be opened (a broken harness must not look like a clean run).
CController& SimulatedController(int typeCode);

// The type code a text or register file names in its ControllerType item (the first one found),
// or -1 when there is none. Seeds written for each model are thus loaded into their own model.
int NamedTypeCode(std::string_view text);

// The options record the controller reads (the controller keeps it by reference): a target names
// the file of one load in it, then starts a command (CController::BeginCommand) so that the next
// load takes it.
BuilderOptions& OptionsOf(CController& controller);

// Puts the hardware, software and stylus images back as the controller first gave them, so that
// every input starts from the same sets.
void RestoreSets(CController& controller);

}  // namespace fuzz
