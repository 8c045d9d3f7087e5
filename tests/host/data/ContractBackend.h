#pragma once
// The storage back ends the dataset contract runs on. Each back end makes a
// dataset on the same customers table; one that needs a server it cannot
// reach answers why, and the contract skips it then (or fails, when the
// environment says the server is required).
//
// A server back end takes its connection string from the environment
// (VESKAR_PG for PostgreSQL, a libpq connection string), answers
// Unavailable() when it is not set or the server does not answer, and is
// Required() when VESKAR_REQUIRE_PG=1 (as in continuous integration), so a
// missing server fails there and skips elsewhere. EnvironmentFlag reads such
// a switch.
//
// A back end instantiates the contract in its own file:
//
//     INSTANTIATE_TEST_SUITE_P(Engine, DataSetContract,
//         ::testing::Values(std::make_shared<TEngineBackend>()), BackendName);

#include "host/core/Component.h"
#include "host/core/Variant.h"
#include "host/data/DataSet.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace host::testing {

using TRowValues = std::vector<Variant>;

class TContractBackend {
public:
    virtual ~TContractBackend() = default;
    virtual std::string Name() const = 0;
    // Why the back end cannot run here; empty when it can.
    virtual std::string Unavailable() const { return {}; }
    // Unavailable then fails instead of skipping.
    virtual bool Required() const { return false; }
    // A closed dataset, owned by Owner, on the table
    //   CustNo integer (the key), Company string(12), Rating float,
    //   Active Boolean, Since date-time
    // holding Rows in CustNo order (Rows come in that order). Its records
    // are in CustNo order.
    virtual TDataSet* Make(TComponent* owner, const std::vector<TRowValues>& rows) = 0;
};

using TBackendPtr = std::shared_ptr<TContractBackend>;

// True when the variable is set to "1".
inline bool EnvironmentFlag(const char* name) {
    const char* value = std::getenv(name);
    return value && std::string(value) == "1";
}

struct BackendName {
    std::string operator()(const ::testing::TestParamInfo<TBackendPtr>& info) const { return info.param->Name(); }
};

} // namespace host::testing
