// tvb::Database: one database, put together from the parts that each area owns: the core (labels, symbols with
// their records, element texts, special values, write recording, the data source, log output), the database's
// TVF library object (exchange), the state of domain checks (domains) and the link to a model instance (model).
// Each part keeps its own state and rules; they meet only in the operations of the areas. A database is used by
// one thread at a time; different databases are independent.
#pragma once

#include "core/database_core.h"
#include "domains/domain_checks.h"
#include "exchange/tvf_object.h"
#include "model/model_link.h"

namespace tvb {

class Database {
 public:
  // REQUIRES (asserted): systemDirectory is shorter than 256 characters.
  explicit Database(const char* systemDirectory) : core_(systemDirectory) {}
  // Releases in this order: the model link's objects, the file being read (closed), the TVF object, then the
  // symbols with their records. The model instance, environment and dictionary belong to the caller.
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  DatabaseCore& core() { return core_; }
  exchange::DatabaseTvfObject& tvfObject() { return tvfObject_; }
  domains::DomainChecks& domainChecks() { return domainChecks_; }
  model::ModelLink& modelLink() { return modelLink_; }

 private:
  DatabaseCore core_;
  exchange::DatabaseTvfObject tvfObject_;
  domains::DomainChecks domainChecks_;
  model::ModelLink modelLink_;
};

}  // namespace tvb
