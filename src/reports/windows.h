// The windows of the recipe reports, made known to the forms layer by name.
#pragma once

namespace kv {

void registerReportWindows();

}  // namespace kv
