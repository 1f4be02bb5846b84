#include "MTLIModelObject.h"

MTLIModelObject::~MTLIModelObject() {}
