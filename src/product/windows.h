// The windows of the product master, made known to the forms layer by name.
#pragma once

namespace kv {

void registerProductWindows();

}  // namespace kv
