// Flag tables and the arithmetic helpers every instruction group shares, so that, for example,
// ADD A,B, ADD A,(IX+d) and ADD A,IXH set the flags identically.
//
// The undocumented bits 5 and 3 are never derived from results: each operation keeps them or
// clears them.
#pragma once

#include <array>
#include <cstdint>

#include "z80/z80.h"

namespace z80 {

inline constexpr uint8_t FLAG_S = 0x80;
inline constexpr uint8_t FLAG_Z = 0x40;
inline constexpr uint8_t FLAG_5 = 0x20;
inline constexpr uint8_t FLAG_H = 0x10;
inline constexpr uint8_t FLAG_3 = 0x08;
inline constexpr uint8_t FLAG_PV = 0x04;
inline constexpr uint8_t FLAG_N = 0x02;
inline constexpr uint8_t FLAG_C = 0x01;

namespace tables {

constexpr uint8_t SignZero(unsigned r) {
  return (r & FLAG_S) | (r == 0 ? FLAG_Z : 0);
}
constexpr uint8_t Parity(unsigned r) {
  unsigned ones = 0;
  for (unsigned bit = 0; bit < 8; ++bit) ones += (r >> bit) & 1;
  return ones % 2 == 0 ? FLAG_PV : 0;
}

template <typename Rule>
constexpr std::array<uint8_t, 256> ByResult(Rule rule) {
  std::array<uint8_t, 256> table{};
  for (unsigned r = 0; r < 256; ++r) table[r] = rule(r);
  return table;
}

// Index: A + 256*C + 512*H + 1024*N before DAA; entry: A after (low byte), F after (high byte).
constexpr std::array<uint16_t, 2048> MakeDaa() {
  std::array<uint16_t, 2048> table{};
  for (unsigned index = 0; index < 2048; ++index) {
    unsigned a = index & 0xFF;
    bool carry = index & 0x100, half = index & 0x200, subtract = index & 0x400;
    unsigned correction = (half || (a & 0x0F) > 9 ? 0x06 : 0) | (carry || a > 0x99 ? 0x60 : 0);
    unsigned result = (subtract ? a - correction : a + correction) & 0xFF;
    bool newCarry = carry || a > 0x99;
    bool newHalf = subtract ? half && (a & 0x0F) < 6 : (a & 0x0F) > 9;
    unsigned flags = SignZero(result) | Parity(result) | (newHalf ? FLAG_H : 0) |
                     (subtract ? FLAG_N : 0) | (newCarry ? FLAG_C : 0);
    table[index] = static_cast<uint16_t>(flags << 8 | result);
  }
  return table;
}

}  // namespace tables

inline constexpr auto SzFlags = tables::ByResult([](unsigned r) { return tables::SignZero(r); });
inline constexpr auto SzpFlags =
    tables::ByResult([](unsigned r) -> uint8_t { return tables::SignZero(r) | tables::Parity(r); });
inline constexpr auto IncFlags = tables::ByResult([](unsigned r) -> uint8_t {
  return tables::SignZero(r) | ((r & 0x0F) == 0 ? FLAG_H : 0) | (r == 0x80 ? FLAG_PV : 0);
});
inline constexpr auto DecFlags = tables::ByResult([](unsigned r) -> uint8_t {
  return tables::SignZero(r) | ((r & 0x0F) == 0x0F ? FLAG_H : 0) | (r == 0x7F ? FLAG_PV : 0) |
         FLAG_N;
});
inline constexpr auto DaaTable = tables::MakeDaa();

// Flags of an 8-bit add or subtract whose 9-bit-or-wider result is r.
inline uint8_t ArithFlags(const Z80State& s, unsigned x, unsigned r) {
  unsigned carries = s.a ^ x ^ r;
  return (s.f & (FLAG_5 | FLAG_3)) | ((r >> 8) & FLAG_C) | (carries & FLAG_H) |
         (((carries >> 5) ^ (r >> 6)) & FLAG_PV) | SzFlags[r & 0xFF];
}

inline void Add8(Z80State& s, uint8_t x) {
  unsigned r = s.a + x;
  s.f = ArithFlags(s, x, r);
  s.a = static_cast<uint8_t>(r);
}

inline void Adc8(Z80State& s, uint8_t x) {
  unsigned r = s.a + x + (s.f & FLAG_C);
  s.f = ArithFlags(s, x, r);
  s.a = static_cast<uint8_t>(r);
}

inline void Sub8(Z80State& s, uint8_t x) {
  unsigned r = s.a - x;
  s.f = ArithFlags(s, x, r) | FLAG_N;
  s.a = static_cast<uint8_t>(r);
}

inline void Sbc8(Z80State& s, uint8_t x) {
  unsigned r = s.a - x - (s.f & FLAG_C);
  s.f = ArithFlags(s, x, r) | FLAG_N;
  s.a = static_cast<uint8_t>(r);
}

inline void Cp8(Z80State& s, uint8_t x) {
  s.f = ArithFlags(s, x, s.a - x) | FLAG_N;
}

// CPI/CPD/CPIR/CPDR: carry kept, P/V cleared (the instruction sets it from BC afterwards).
inline void CpBlock(Z80State& s, uint8_t x) {
  unsigned r = s.a - x;
  s.f = (s.f & (FLAG_C | FLAG_5 | FLAG_3)) | FLAG_N | ((s.a ^ x ^ r) & FLAG_H) | SzFlags[r & 0xFF];
}

inline uint16_t Add16(Z80State& s, uint16_t a, uint16_t b) {
  unsigned r = a + b;
  s.f = (s.f & (FLAG_S | FLAG_Z | FLAG_PV)) | ((r >> 16) & FLAG_C) | (((a ^ b ^ r) >> 8) & FLAG_H);
  return static_cast<uint16_t>(r);
}

inline uint8_t Arith16Flags(const Z80State& s, unsigned a, unsigned b, unsigned r) {
  unsigned carries = a ^ b ^ r;
  return (s.f & (FLAG_5 | FLAG_3)) | ((r >> 16) & FLAG_C) | ((r >> 8) & FLAG_S) |
         ((r & 0xFFFF) == 0 ? FLAG_Z : 0) | (((carries >> 13) ^ (r >> 14)) & FLAG_PV) |
         ((carries >> 8) & FLAG_H);
}

inline uint16_t Adc16(Z80State& s, uint16_t a, uint16_t b) {
  unsigned r = a + b + (s.f & FLAG_C);
  s.f = Arith16Flags(s, a, b, r);
  return static_cast<uint16_t>(r);
}

inline uint16_t Sbc16(Z80State& s, uint16_t a, uint16_t b) {
  unsigned r = a - b - (s.f & FLAG_C);
  s.f = Arith16Flags(s, a, b, r) | FLAG_N;
  return static_cast<uint16_t>(r);
}

// CB-group rotates and shifts: the result is returned for the caller to store.
inline uint8_t ShiftResult(Z80State& s, unsigned result, unsigned carry) {
  uint8_t r = static_cast<uint8_t>(result);
  s.f = (s.f & (FLAG_5 | FLAG_3)) | (carry & FLAG_C) | SzpFlags[r];
  return r;
}
inline uint8_t Rlc(Z80State& s, uint8_t v) {
  return ShiftResult(s, v << 1 | v >> 7, v >> 7);
}
inline uint8_t Rrc(Z80State& s, uint8_t v) {
  return ShiftResult(s, v >> 1 | v << 7, v);
}
inline uint8_t Rl(Z80State& s, uint8_t v) {
  return ShiftResult(s, v << 1 | (s.f & FLAG_C), v >> 7);
}
inline uint8_t Rr(Z80State& s, uint8_t v) {
  return ShiftResult(s, v >> 1 | (s.f & FLAG_C) << 7, v);
}
inline uint8_t Sla(Z80State& s, uint8_t v) {
  return ShiftResult(s, v << 1, v >> 7);
}
inline uint8_t Sra(Z80State& s, uint8_t v) {
  return ShiftResult(s, v >> 1 | (v & 0x80), v);
}
inline uint8_t Sll(Z80State& s, uint8_t v) {
  return ShiftResult(s, v << 1 | 1, v >> 7);
}
inline uint8_t Srl(Z80State& s, uint8_t v) {
  return ShiftResult(s, v >> 1, v);
}

// Accumulator rotates: S, Z, P/V and bits 5 and 3 kept.
inline void RotateA(Z80State& s, unsigned result, unsigned carry) {
  s.a = static_cast<uint8_t>(result);
  s.f = (s.f & (FLAG_S | FLAG_Z | FLAG_5 | FLAG_3 | FLAG_PV)) | (carry & FLAG_C);
}
inline void Rlca(Z80State& s) {
  RotateA(s, s.a << 1 | s.a >> 7, s.a >> 7);
}
inline void Rrca(Z80State& s) {
  RotateA(s, s.a >> 1 | s.a << 7, s.a);
}
inline void Rla(Z80State& s) {
  RotateA(s, s.a << 1 | (s.f & FLAG_C), s.a >> 7);
}
inline void Rra(Z80State& s) {
  RotateA(s, s.a >> 1 | (s.f & FLAG_C) << 7, s.a);
}

}  // namespace z80
