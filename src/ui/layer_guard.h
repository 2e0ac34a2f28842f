// Engines (walks, chain upkeep, roll-up, list building) report through the message sink and the stage
// reports a window passes in and never see the forms layer: every header of the layer refuses to be
// included where KV_ENGINE is set.
#pragma once

#ifdef KV_ENGINE
#error "engine code must not include the forms layer: report through a MessageSink and a report of the stages"
#endif
