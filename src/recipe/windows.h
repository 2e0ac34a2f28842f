// The windows of the production analysis, made known to the forms layer by name.
#pragma once

namespace kv {

void registerRecipeWindows();

}  // namespace kv
