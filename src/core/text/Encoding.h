#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversions between the bytes of files, clipboards and processes and the program's text.
//
// Text inside the program is always valid UTF-8. A byte that is not valid in the encoding it is
// read in is not dropped: it becomes the private-use character U+F700 + byte value (U+F780..U+F7FF,
// since only bytes 0x80..0xFF can be invalid), and each encoder writes such a character back as
// that very byte. So reading a file and writing it again in the same encoding reproduces its bytes
// exactly, whatever they are.

namespace hv {

// Code page 932 (Shift_JIS with the NEC and IBM extensions, Microsoft's table) to UTF-8. Every
// code Windows reads is read, the duplicate codes included (NEC row 13 copies of JIS characters,
// the NEC-selected IBM extensions). An undefined single byte, a lead byte at the end, and a lead
// byte followed by a byte that cannot be a trail byte each become U+F700 + byte, and decoding goes
// on with the next byte. A lead and a trail byte whose pair is not a character become two
// characters: U+F700 + lead, and the trail byte (escaped unless ASCII).
std::string DecodeCp932(std::string_view bytes);
// DecodeCp932, appending to out.
void DecodeCp932Append(std::string_view bytes, std::string& out);

// UTF-8 to code page 932; nullopt when a character has no CP932 form or the input is malformed.
// A character with two codes is written with the one Windows writes ("≒" 81E0, "纊" FA5C).
// A character has a CP932 form only when it converts to CP932 and back to itself ("¥" U+00A5,
// which Windows writes as "\", has none). U+F780..U+F7FF are written as the bytes 0x80..0xFF.
std::optional<std::string> EncodeCp932(std::string_view utf8);

// EncodeCp932 appending to out; false (out as it was) when a character has no CP932 form.
bool EncodeCp932Append(std::string_view utf8, std::string& out);

// True when EncodeCp932 would succeed.
bool HasCp932Form(std::string_view utf8);

// UTF-8 bytes to valid UTF-8. Every byte outside a well-formed sequence (overlong forms,
// surrogates, code points above U+10FFFF, truncated sequences, stray continuation bytes) becomes
// U+F700 + byte. The bytes of a well-formed U+F780..U+F7FF are escaped the same way, so that
// EncodeUtf8 gives them back unchanged. A byte order mark is kept; callers decide about it.
std::string DecodeUtf8(std::string_view bytes);
// DecodeUtf8, appending to out.
void DecodeUtf8Append(std::string_view bytes, std::string& out);

// The program's UTF-8 to the bytes of a UTF-8 file: U+F780..U+F7FF become the bytes 0x80..0xFF,
// everything else is copied. EncodeUtf8(DecodeUtf8(b)) == b for any bytes b.
std::string EncodeUtf8(std::string_view utf8);
// EncodeUtf8, appending to out.
void EncodeUtf8Append(std::string_view utf8, std::string& out);

} // namespace hv
