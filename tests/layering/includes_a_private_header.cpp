// Read by the layering test, never built: a source outside the file layer that includes its private
// headers, which the test must find; the side files' format only the layer's own tests may include.
#include "files/files_internal.h"
#include "files/side_file_format.h"
