// The in-memory fakes against the role table: every row must give the line Windows gives.
#include <gtest/gtest.h>

#include "RoleCases.h"

namespace mq::platform::testing {
namespace {

TEST(RoleCases, FakesBehaveAsWindows) {
  FakeRoleMachine fake;
  RoleMachine machine = fake.Machine();
  for (const RoleCase& row : RoleCases()) {
    EXPECT_EQ(RunRoleCase(row, machine), row.windows) << row.role << ": " << row.behaviour;
  }
  EXPECT_EQ(fake.registry.OpenHandleCount(), 0u) << "every row closes the keys it opens";
  EXPECT_EQ(fake.spooler.OpenHandleCount(), 0u) << "every row closes the printers it opens";
}

}  // namespace
}  // namespace mq::platform::testing
