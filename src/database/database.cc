#include "database/database.h"

namespace tvb {

Database::~Database() {
  modelLink_.release();
  core_.dataSource.detach();
  tvfObject_.release();
}

}  // namespace tvb
