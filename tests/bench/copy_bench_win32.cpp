// Copy throughput under Wine: COPYFILE as a script runs it (the whole command, its 1024-byte
// blocks, its paced message pumping) against CopyFileA and a bare loop of 1024-byte ReadFile
// and WriteFile calls on the same 64 MB file, in the same run. Prints MB/s and the ratios.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "support/text.h"
#include "tests/wine/installer_test_support.h"

namespace {

constexpr DWORD kFileBytes = 64u << 20;
constexpr DWORD kBlock = 1024;

double Seconds(const std::function<bool()>& run) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!run()) return -1;
  QueryPerformanceCounter(&end);
  return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The best of three runs, in MB/s of [bytes]; [target] is deleted before each.
double Throughput(const std::string& target, DWORD bytes, const std::function<bool()>& run) {
  double best = 0;
  for (int i = 0; i < 3; ++i) {
    DeleteFileA(target.c_str());
    const double s = Seconds(run);
    if (s <= 0) return 0;
    const double rate = bytes / 1048576.0 / s;
    if (rate > best) best = rate;
  }
  return best;
}

bool WriteSource(const std::string& path, DWORD bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::vector<char> chunk(1 << 20);
  uint32_t seed = 12345;
  for (char& c : chunk) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
  bool ok = true;
  for (DWORD done = 0; ok && done < bytes; done += static_cast<DWORD>(chunk.size())) {
    DWORD written = 0;
    ok = WriteFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &written, nullptr) && written == chunk.size();
  }
  CloseHandle(file);
  return ok;
}

// The reference: 1024-byte blocks, nothing else; with [drain], the message queue emptied before
// every read and every write as an unpaced copy loop would.
bool BareLoop(const std::string& source, const std::string& target, bool drain) {
  HANDLE in = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE out = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  char buffer[kBlock];
  DWORD got = 0, written = 0;
  bool ok = in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE;
  while (ok) {
    if (drain) PumpMessages();
    if (!ReadFile(in, buffer, kBlock, &got, nullptr) || got == 0) break;
    if (drain) PumpMessages();
    ok = WriteFile(out, buffer, got, &written, nullptr) && written == got;
  }
  if (in != INVALID_HANDLE_VALUE) CloseHandle(in);
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = EnsureBackslash(argc > 1 ? argv[1] : "C:\\qsbench");
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string source = folder + "BENCH64.BIN", small = folder + "BENCH4.BIN", target = folder + "BENCH.OUT";
  if (!WriteSource(source, kFileBytes) || !WriteSource(small, 4u << 20)) {
    std::printf("cannot write the sample files in %s\n", folder.c_str());
    return 1;
  }
  InProcessRun run;
  run.logBackend.enabled = false;  // a script without its trace switched on
  const auto copyLine = [&](const std::string& options) {
    return [&run, &source, &target, options] {
      return run.Line("COPYFILE(\"" + source + "\", \"" + target + "\"" + options + ")") == 0;
    };
  };
  BareLoop(source, target, false);  // warm the cache
  const double bare = Throughput(target, kFileBytes, [&] { return BareLoop(source, target, false); });
  const double copyFile = Throughput(target, kFileBytes, [&] { return CopyFileA(source.c_str(), target.c_str(), FALSE) != 0; });
  const double plain = Throughput(target, kFileBytes, copyLine(", 0"));
  const double expanding = Throughput(target, kFileBytes, copyLine(""));
  run.Line("COPYFILE(1)");
  const double gauged = Throughput(target, kFileBytes, [&] {
    run.windows.Bar().SetMaximum(1);  // byte mode for every run
    return run.Line("\"" + source + "\", \"" + target + "\", \"Copying\", 0") == 0;
  });
  run.Line("ENDCOPYFILE()");
  const double drained = Throughput(target, 4u << 20, [&] { return BareLoop(small, target, true); });
  DeleteFileA(target.c_str());

  std::printf("Copy of a 64 MB file under Wine (best of 3 runs)\n");
  std::printf("  CopyFileA                              %8.1f MB/s\n", copyFile);
  std::printf("  bare 1024-byte ReadFile/WriteFile loop %8.1f MB/s\n", bare);
  std::printf("  COPYFILE, expand 0                     %8.1f MB/s  %.2f x bare loop  %.3f x CopyFileA\n", plain,
              plain / bare, plain / copyFile);
  std::printf("  COPYFILE, expand 1 (LZ functions)      %8.1f MB/s  %.2f x bare loop  %.3f x CopyFileA\n", expanding,
              expanding / bare, expanding / copyFile);
  std::printf("  COPYFILE in a copy block, byte mode    %8.1f MB/s  %.2f x bare loop\n", gauged, gauged / bare);
  std::printf("  loop draining messages every block     %8.1f MB/s (4 MB file)\n", drained);
  return 0;
}
