#include "tests/skin/skin_test_support.h"

#include <cstdlib>
#include <filesystem>

namespace mok::test {

bool MakeImagesWithPillow(const std::string& folder, const std::vector<std::string>& specs) {
  static const bool available =
      std::system((std::string(MOK_SYSTEM_PYTHON) + " -c 'import PIL' 2>/dev/null").c_str()) == 0;
  if (!available) return false;
  std::string command = std::string(MOK_SYSTEM_PYTHON) + " " + MOK_SOURCE_DIR + "/tests/skin/make_test_images.py '" +
                        folder + "'";
  for (const std::string& spec : specs) command += " '" + spec + "'";
  return std::system(command.c_str()) == 0;
}

std::string RealFile(const std::string& relative) {
  std::string path = std::string(MOK_SHARED_TESTDATA) + "/real/" + relative;
  std::error_code error;
  return std::filesystem::exists(path, error) ? path : std::string();
}

}  // namespace mok::test
