// Registering a model instance with a database (tvbRegisterTVP, and the first step of tvbInitFromDict): the
// model-instance and dictionary libraries are loaded (from the database's system directory when it has one),
// and the model and its dictionary are tied to the database's model link.
#pragma once

#include <string>

#include "core/status.h"
#include "model/model_link.h"

namespace tvb::model {

// Fails with "No model instance specified ..." for a null model, with the loaders' messages, and with "No
// dictionary available" for a model without one (which stays registered). Failures are traced at level 1.
Status registerModel(ModelLink& link, const std::string& sysDir, tvpHandle_t model);

}  // namespace tvb::model
