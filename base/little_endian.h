// Little-endian numbers in byte strings: every file the program reads or
// writes (.kdm, WAD) stores its numbers this way, whatever the machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

inline void PutU16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
inline void PutU32(std::string& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}
inline void PutI32(std::string& out, int32_t v) { PutU32(out, static_cast<uint32_t>(v)); }
inline void PutF32(std::string& out, float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    PutU32(out, bits);
}

// Readers of the field at byte offset at; the caller has checked that it fits.
inline uint16_t ReadU16(const std::string& b, std::size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}
inline int16_t ReadI16(const std::string& b, std::size_t at) { return static_cast<int16_t>(ReadU16(b, at)); }
inline uint32_t ReadU32(const std::string& b, std::size_t at) {
    return ReadU16(b, at) | (static_cast<uint32_t>(ReadU16(b, at + 2)) << 16);
}
inline int32_t ReadI32(const std::string& b, std::size_t at) { return static_cast<int32_t>(ReadU32(b, at)); }
inline float ReadF32(const std::string& b, std::size_t at) {
    const uint32_t bits = ReadU32(b, at);
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}
