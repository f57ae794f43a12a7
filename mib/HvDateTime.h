#pragma once
// The 11-byte date-and-time value (RFC 2579 DateAndTime layout) and its text form
// "y-m-d,h:n:s.d[,+h:m]" with unpadded numbers, e.g. "2024-1-5,9:3:7.0,+8:0".
#include <cstdint>
#include <string>

struct HvDateTime {
    uint16_t year = 0;  // host byte order here; big-endian in value bytes
    uint8_t month = 0;
    uint8_t day = 0;
    uint8_t hour = 0;
    uint8_t minutes = 0;
    uint8_t seconds = 0;
    uint8_t deciSeconds = 0;
    char direction = '+';  // '+' or '-': direction from UTC
    uint8_t hoursFromUTC = 0;
    uint8_t minutesFromUTC = 0;

    // The current local date and time; deciSeconds 0, direction '+', UTC fields 0.
    HvDateTime();
    // Reads "%d-%d-%d,%d:%d:%d.%d,+%d:%d", else "%d-%d-%d,%d:%d:%d.%d,-%d:%d" (direction
    // '-'), else "%d-%d-%d,%d:%d:%d.%d". Each attempt stores the numbers it reaches, in field
    // order (each number's low bits); fields that no attempt reaches are 0. Numbers are read
    // like sscanf's %d, saturated at the 32-bit range.
    explicit HvDateTime(const std::string& text);

    // With a UTC offset (not 0) and direction '+' or '-': "%d-%d-%d,%d:%d:%d.%d,%c%d:%d";
    // otherwise the first seven fields only.
    std::string ToText() const;

    // Exchanges the two bytes of `year`.
    void SwapYear();

    // The 11 value bytes, year big-endian.
    std::string ToBytes() const;
    // From the first 11 value bytes (year big-endian); false, leaving the record unchanged,
    // when fewer than 11 bytes are given.
    bool FromBytes(const std::string& bytes);
};
