// POST /pets: Adds a pet.
// Endpoint 3 of 4 of the Petstore API. Generated: do not edit.
#include "petstore_client.h"

#include "request.h"

namespace petstore {

Pet PetstoreClient::createPet(const Pet& pet, std::optional<bool> dryRun)
{
    std::string path = "/pets";
    if (dryRun) path += "?dryRun=" + ToText(*dryRun);
    return Decode<Pet>(Send(_baseUrl, "POST", path, Encode(pet)));
}

}  // namespace petstore
