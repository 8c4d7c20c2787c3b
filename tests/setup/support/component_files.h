// Places the stand-in component libraries on the test machine and reads their unregister log.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "support_fixture.h"

namespace setup::testing {

inline std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

class ComponentTest : public SupportTest {
 protected:
  void SetUp() override {
    SupportTest::SetUp();
    log_ = root_ + "/unregister.log";
    setenv("PAGINA_UNREGISTER_LOG", log_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("PAGINA_UNREGISTER_LOG");
    SupportTest::TearDown();
  }
  // Copies one of the built libraries (COMPONENT_OK, ...) to a path on the machine.
  void putComponent(const std::string& windowsPath, const char* builtLibrary) {
    const std::string bytes = ReadHostFile(builtLibrary);
    ASSERT_FALSE(bytes.empty()) << builtLibrary;
    machine().putFile(windowsPath, bytes);
  }
  // How often a DllUnregisterServer ran.
  int unregisterCalls() const {
    const std::string text = ReadHostFile(log_);
    int lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
  }

 private:
  std::string log_;
};

}  // namespace setup::testing
