// GET /pets: Lists the pets, newest first. Paged b...
// Endpoint 1 of 4 of the Petstore API. Generated: do not edit.
#include "petstore_client.h"

#include "request.h"

namespace petstore {

std::vector<Pet> PetstoreClient::listPets(std::optional<std::string> tag, long limit)
{
    std::string path = "/pets";
    path += "?limit=" + ToText(limit);
    if (tag) path += "&tag=" + ToText(*tag);
    return Decode<std::vector<Pet>>(Send(_baseUrl, "GET", path));
}

}  // namespace petstore
