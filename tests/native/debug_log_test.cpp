#include <gtest/gtest.h>

#include "support/debug_log.h"
#include "tests/native/fake_platform.h"

namespace {

class CountingBackend : public MemoryLogBackend {
 public:
  int settingsReads = 0;
  bool configured = true;
  bool failAppend = false;
  std::vector<std::string> failures;
  bool ReadSettings(DebugLogSettings& settings) override {
    ++settingsReads;
    if (!configured) return false;
    return MemoryLogBackend::ReadSettings(settings);
  }
  bool Append(const std::string& path, const char* bytes, size_t length) override {
    lastPath = path;
    if (failAppend) return false;
    return MemoryLogBackend::Append(path, bytes, length);
  }
  void ReportFailure(const std::string& path) override { failures.push_back(path); }
  std::string lastPath;
};

}  // namespace

TEST(DebugLog, OffMeansNoFileAndOneSettingsRead) {
  CountingBackend backend;
  backend.enabled = false;
  DebugLog log(backend);
  log.LogText("one");
  log.LogLong(5);
  log.LogDump(reinterpret_cast<const unsigned char*>("abc"), 3, true);
  EXPECT_EQ(backend.text, "");
  EXPECT_EQ(backend.settingsReads, 1);
  EXPECT_TRUE(backend.lastPath.empty());
}

TEST(DebugLog, FirstWriteBringsTheBanner) {
  CountingBackend backend;
  DebugLog log(backend);
  log.LogText("MLine: 'x'\r\n");
  log.LogLong(-12);
  log.LogInt(7);
  EXPECT_EQ(backend.text, "\n\n**** Application Startup - Setup (08/12/2026 09:30:00) ****\nMLine: 'x'\r\n-127");
  EXPECT_EQ(backend.lastPath, "C:\\DEBUG.DBG");
}

TEST(DebugLog, ATraceBeforeTheSettingsExistIsOnForTheRun) {
  CountingBackend backend;
  backend.configured = false;
  DebugLog log(backend);
  log.LogText("early");
  EXPECT_EQ(backend.text, "\n\n**** Application Startup - GlobalStart (08/12/2026 09:30:00) ****\nearly");
}

TEST(DebugLog, DumpsWithAndWithoutCodes) {
  CountingBackend backend;
  DebugLog log(backend);
  log.LogText("");
  backend.text.clear();
  const unsigned char bytes[13] = {'A', 'B', 1, 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L'};
  log.LogDump(bytes, 13, true);
  EXPECT_EQ(backend.text,
            " 65 A   66 B    1 .   67 C   68 D   69 E   70 F   71 G   72 H   73 I   74 J   75 K  \r\n"
            " 76 L  \r\n");
  backend.text.clear();
  log.LogDump(bytes, 13, false);
  EXPECT_EQ(backend.text, "AB.CDEFGHIJKL\r\n");
  backend.text.clear();
  log.LogDump(bytes, 0, false);
  EXPECT_EQ(backend.text, "");
}

TEST(DebugLog, AFailedOpenIsReportedOnceAndTheLogGoesOff) {
  CountingBackend backend;
  backend.failAppend = true;
  DebugLog log(backend);
  log.LogText("lost");
  log.LogText("again");
  log.LogDump(reinterpret_cast<const unsigned char*>("abc"), 3, true);
  EXPECT_EQ(backend.failures, std::vector<std::string>{"C:\\DEBUG.DBG"});
  EXPECT_FALSE(log.Enabled());
}
