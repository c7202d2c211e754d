// The protocol's records as plain structs, expanded from records.def.
//
// Layout rule: members in catalogue order with natural alignment and no other gaps; a text of
// width n >= 2 takes n + 1 bytes (terminated in memory, unterminated on the wire), a one-character
// text takes one byte. Texts are GBK bytes. Callers fill these for requests and receive them in
// callbacks; clear a record before filling it so that every text is terminated.
#pragma once

#include <cstdint>

#define QX_C(name, n) char name[(n) + 1];
#define QX_C1(name) char name;
#define QX_LOCAL_C1(name) char name;
#define QX_W(name) std::int16_t name;
#define QX_I(name) std::int32_t name;
#define QX_D(name) double name;
#define QX_U8(name) std::uint8_t name;
#define QX_U16(name) std::uint16_t name;
#define QX_U32(name) std::uint32_t name;
#define QX_RECORD(Name, FieldID, WireBytes, ...) struct Name { __VA_ARGS__ };
#define QX_HEADER(Name, WireBytes, ...) struct Name { __VA_ARGS__ };
#include "quorex/records.def"
#undef QX_HEADER
#undef QX_RECORD
#undef QX_U32
#undef QX_U16
#undef QX_U8
#undef QX_D
#undef QX_I
#undef QX_W
#undef QX_LOCAL_C1
#undef QX_C1
#undef QX_C

// Tag for the variable-length field (ID 0x0001): raw bytes of any size, no record struct.
struct TVariableField;

// Sizes other parts of the system rely on.
static_assert(sizeof(TYqOrder) == 128);
static_assert(sizeof(TYqFrznElctIndenture) == 32);
static_assert(sizeof(TMemberCapital) == 184);
static_assert(sizeof(TElctIndenture) == 140);
static_assert(sizeof(TTRspMsg) == 83);
static_assert(sizeof(TXTPHeader) == 56);
static_assert(sizeof(TFrameHeader) == 4);
