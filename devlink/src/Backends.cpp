// The table of transports. Adding one: a file under transport/ that defines its row, and the row
// here.
#include "Backend.h"
#include "transport/sim/SimTransport.h"

namespace devlink {
namespace {

const Backend* const kBackends[] = {
    &simtransport::kBackend,
};

}  // namespace

const Backend* backendFor(const std::string& path) {
    for (const Backend* backend : kBackends)
        if (path.rfind(backend->scheme, 0) == 0) return backend;
    return nullptr;
}

}  // namespace devlink
