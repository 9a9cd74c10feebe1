// The trust check a plugin passes before it is loaded: every folder from / down and the file.
// A group write bit makes it walk the group and password databases (NSS) for other members;
// without one it is a handful of lstat calls.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "platform/posix/TrustedFile.h"

namespace {

namespace fs = std::filesystem;

// A plugin three folders below a fresh one in /tmp, folders and file of `mode` (0755 or 0775).
class PluginTree {
public:
    explicit PluginTree(fs::perms mode) {
        char pattern[] = "/tmp/solvara-bench-trust.XXXXXX";
        if (mkdtemp(pattern) == nullptr) return;
        root_ = pattern;
        const fs::path folder = root_ / "src/solvara/build";
        fs::create_directories(folder);
        plugin_ = folder / "solvara-audio.so";
        std::ofstream(plugin_) << "plugin";
        for (fs::path part = plugin_; part != root_.parent_path(); part = part.parent_path()) {
            fs::permissions(part, mode, fs::perm_options::replace);
        }
    }
    ~PluginTree() {
        std::error_code ignored;
        if (!root_.empty()) fs::remove_all(root_, ignored);
    }
    std::string plugin() const { return plugin_.string(); }

private:
    fs::path root_;
    fs::path plugin_;
};

void BM_PluginTrustCheck(benchmark::State& state) {
    const bool groupWrite = state.range(0) != 0;
    const PluginTree tree(groupWrite ? fs::perms(0775) : fs::perms(0755));
    for (auto _ : state) {
        auto problem = solvara::trustedFileProblem(tree.plugin());
        benchmark::DoNotOptimize(problem);
    }
}
BENCHMARK(BM_PluginTrustCheck)->Arg(0)->Arg(1)->ArgName("groupWrite")->Unit(benchmark::kMicrosecond);

}  // namespace
