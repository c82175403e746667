#include <gtest/gtest.h>

#include <windows.h>

int main(int argc, char** argv) {
  // No "program has crashed" boxes: a crashing test must end, not wait.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
