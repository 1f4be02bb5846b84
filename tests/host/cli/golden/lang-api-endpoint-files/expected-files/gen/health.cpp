// GET /health: Liveness probe; use /status instead.
// Endpoint 4 of 4 of the Petstore API. Generated: do not edit.
#include "petstore_client.h"

#include "request.h"

namespace petstore {

// Deprecated: kept for old callers.

void PetstoreClient::health()
{
    std::string path = "/health";
    Send(_baseUrl, "GET", path);
}

}  // namespace petstore
