// The editor's line buffer with big files: loading a 100 MB script, inserting
// and deleting lines in the middle of it, and the undo list's memory per
// typed character.
#include "editor/SynEditTextBuffer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <unistd.h>

namespace {

// Nine lines of 26 bytes on average, like ordinary page scripts.
constexpr char SampleScript[] = "// Rotates the banners of the page.\n"
                                "var banners = [\"a.gif\", \"b.gif\"];\n"
                                "var current = 0;\n"
                                "function rotate() {\n"
                                "  current = (current + 1) % 2;\n"
                                "  var img = document.images[0];\n"
                                "  img.src = banners[current];\n"
                                "  setTimeout(\"rotate()\", 3000);\n"
                                "}\n";
constexpr std::size_t BigFileSize = 100'000'000;
constexpr std::size_t SampleLines = 9;

// Bytes the process has taken from the heap, mapped blocks included.
std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The peak resident size since the last resetPeakResidentSize, in bytes (0 when unknown).
void resetPeakResidentSize() {
    std::ofstream("/proc/self/clear_refs") << "5";
}
std::size_t peakResidentSize() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stoul(line.substr(6)) * 1024;
    return 0;
}

// The 100 MB script, written once into the temporary folder.
class BigScript {
public:
    BigScript() {
        path_ = std::filesystem::temp_directory_path() /
                ("editor-buffer-bench-" + std::to_string(::getpid()) + ".js");
        std::ofstream out(path_, std::ios::binary);
        const std::size_t sampleSize = sizeof(SampleScript) - 1;
        for (size_ = 0; size_ < BigFileSize; size_ += sampleSize) {
            out.write(SampleScript, static_cast<std::streamsize>(sampleSize));
            lines_ += SampleLines;
        }
    }
    ~BigScript() { std::filesystem::remove(path_); }
    AnsiString name() const { return path_.string(); }
    std::size_t size() const { return size_; }
    std::size_t lines() const { return lines_; }

private:
    std::filesystem::path path_;
    std::size_t size_ = 0;
    std::size_t lines_ = 0;
};

const BigScript& bigScript() {
    static const BigScript script;
    return script;
}

void BM_LoadBigScript(benchmark::State& state) {
    const BigScript& script = bigScript();
    double bytesPerFileByte = 0;
    double peakPerFileByte = 0;
    for (auto _ : state) {
        const std::size_t heapBefore = heapInUse();
        resetPeakResidentSize();
        const std::size_t residentBefore = peakResidentSize();
        TSynEditStringList list;
        list.LoadFromFile(script.name());
        state.PauseTiming();
        if (static_cast<std::size_t>(list.Count()) != script.lines() + 1)
            state.SkipWithError("wrong line count");
        bytesPerFileByte = static_cast<double>(heapInUse() - heapBefore) / static_cast<double>(script.size());
        peakPerFileByte =
            static_cast<double>(peakResidentSize() - residentBefore) / static_cast<double>(script.size());
        state.ResumeTiming();
    }
    state.counters["heap_bytes_per_file_byte"] = bytesPerFileByte;
    state.counters["peak_resident_bytes_per_file_byte"] = peakPerFileByte;
    state.counters["lines"] = static_cast<double>(bigScript().lines() + 1);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * script.size()));
}
BENCHMARK(BM_LoadBigScript)->Unit(benchmark::kMillisecond)->Iterations(3);

// The first line inserted in the middle of the 100 MB script just loaded, on its own:
// it should cost what later insertions do.
void BM_FirstEditAfterLoadingBigScript(benchmark::State& state) {
    const BigScript& script = bigScript();
    for (auto _ : state) {
        TSynEditStringList list;
        list.LoadFromFile(script.name());
        const auto started = std::chrono::steady_clock::now();
        list.Insert(list.Count() / 2, "  var inserted = true;");
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    }
}
BENCHMARK(BM_FirstEditAfterLoadingBigScript)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Inserting a line in the middle and deleting it again, in buffers of
// growing size: the time per pair must not grow with the buffer.
void BM_InsertAndDeleteInTheMiddle(benchmark::State& state) {
    const auto lineCount = static_cast<std::size_t>(state.range(0));
    TSynEditStringList list;
    {
        AnsiString text;
        for (std::size_t lines = 0; lines < lineCount; lines += SampleLines)
            text += SampleScript;
        TStringStream stream(text);
        list.LoadFromStream(&stream);
    }
    const Integer middle = list.Count() / 2;
    for (auto _ : state) {
        list.Insert(middle, "  var inserted = true;");
        list.Delete(middle);
    }
    state.counters["lines"] = list.Count();
}
BENCHMARK(BM_InsertAndDeleteInTheMiddle)->Arg(38'000)->Arg(380'000)->Arg(3'800'000);

// Typing near the middle: line breaks and joins a few lines apart.
void BM_TypingLineBreaksNearTheMiddle(benchmark::State& state) {
    const auto lineCount = static_cast<std::size_t>(state.range(0));
    TSynEditStringList list;
    {
        AnsiString text;
        for (std::size_t lines = 0; lines < lineCount; lines += SampleLines)
            text += SampleScript;
        TStringStream stream(text);
        list.LoadFromStream(&stream);
    }
    const Integer middle = list.Count() / 2;
    Integer step = 0;
    for (auto _ : state) {
        const Integer line = middle + (step++ % 16);
        const AnsiString current = list[line];
        const std::size_t column = std::min<std::size_t>(4, current.size());
        list.Put(line, current.substr(0, column));
        list.Insert(line + 1, current.substr(column));
        list.Put(line, current);
        list.Delete(line + 1);
    }
    state.counters["lines"] = list.Count();
}
BENCHMARK(BM_TypingLineBreaksNearTheMiddle)->Arg(38'000)->Arg(3'800'000);

// What the undo list keeps for each typed character.
void BM_UndoMemoryPerTypedCharacter(benchmark::State& state) {
    constexpr Integer typed = 1'000'000;
    double bytesPerCharacter = 0;
    for (auto _ : state) {
        TSynEditUndoList undo;
        undo.SetMaxUndoActions(typed);
        const std::size_t heapBefore = heapInUse();
        for (Integer column = 1; column <= typed; ++column)
            undo.AddChange(crInsert, BufferCoord(column, 1), BufferCoord(column + 1, 1), AnsiString(),
                           smNormal);
        bytesPerCharacter = static_cast<double>(heapInUse() - heapBefore) / typed;
    }
    state.counters["bytes_per_typed_character"] = bytesPerCharacter;
}
BENCHMARK(BM_UndoMemoryPerTypedCharacter)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
