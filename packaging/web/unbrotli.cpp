// The page's brotli decoder: browsers unpack brotli only when the host says it sent it, and
// most school hosts send files as they are. The loader feeds it the program as it arrives.
#include <brotli/decode.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

BrotliDecoderState *state = nullptr;
std::array<std::uint8_t, std::size_t{1} << 16> input{};
std::array<std::uint8_t, std::size_t{1} << 18> output{};
const std::uint8_t *nextIn = nullptr;
std::size_t availableIn = 0;
std::size_t produced = 0;

} // namespace

extern "C" {

std::uint8_t *zun_input()
{
    return input.data();
}
std::size_t zun_input_size()
{
    return input.size();
}
std::uint8_t *zun_output()
{
    return output.data();
}
std::size_t zun_produced()
{
    return produced;
}
int zun_finished()
{
    return BrotliDecoderIsFinished(state);
}

int zun_begin()
{
    state = BrotliDecoderCreateInstance(nullptr, nullptr, nullptr);
    return state != nullptr;
}

// Takes the next `size` bytes, already written to the input.
void zun_feed(std::size_t size)
{
    nextIn = input.data();
    availableIn = size;
}

// Unpacks what it can into the output: 0 for a broken stream, 1 at its end, 2 when it needs
// more input, 3 when the output is full and must be read first.
int zun_step()
{
    std::uint8_t *nextOut = output.data();
    std::size_t availableOut = output.size();
    const BrotliDecoderResult result = BrotliDecoderDecompressStream(
            state, &availableIn, &nextIn, &availableOut, &nextOut, nullptr);
    produced = output.size() - availableOut;
    return result;
}
}
