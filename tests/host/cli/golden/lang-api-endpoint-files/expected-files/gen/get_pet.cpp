// GET /owners/{ownerId}/pets/{petId}: One pet.
// Endpoint 2 of 4 of the Petstore API. Generated: do not edit.
#include "petstore_client.h"

#include "request.h"

namespace petstore {

Pet PetstoreClient::getPet(long petId, long ownerId, std::optional<std::string> fields)
{
    std::string path = "/owners/{ownerId}/pets/{petId}";
    ReplaceAll(path, "{ownerId}", std::to_string(ownerId));
    ReplaceAll(path, "{petId}", std::to_string(petId));
    if (fields) path += "?fields=" + ToText(*fields);
    return Decode<Pet>(Send(_baseUrl, "GET", path));
}

}  // namespace petstore
