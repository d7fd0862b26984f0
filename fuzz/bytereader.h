#ifndef FUZZ_BYTEREADER_H
#define FUZZ_BYTEREADER_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Reads a fuzz input from the front, so that a seed file reads as its bytes do: an int is the
// next four bytes, little-endian; past the end every value is 0.
class ByteReader
{
public:
    ByteReader(const std::uint8_t *data, std::size_t size)
        : m_data(data)
        , m_size(size)
    { }

    bool atEnd() const { return m_position >= m_size; }

    std::uint8_t byte() { return atEnd() ? 0 : m_data[m_position++]; }

    int integer()
    {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8)
            value |= std::uint32_t(byte()) << shift;
        int result;
        std::memcpy(&result, &value, sizeof result);
        return result;
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

// A broken promise of the code under test: abort, so that libFuzzer reports the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

#endif // FUZZ_BYTEREADER_H
