/* Brazilian tax registration numbers (CPF and CNPJ), callable from any
 * language with C calls. Texts are zero-terminated UTF-16 buffers. */
#ifndef TOLVANEO_FISCAL_H
#define TOLVANEO_FISCAL_H

#ifdef __cplusplus
extern "C" {
#else
#include <uchar.h>
#endif

/* Keeps only the digits of the buffer, in place; returns buffer. */
char16_t* des(char16_t* buffer);

/* The digits of value, and the digits with CPF or CNPJ punctuation. The
 * result and a terminating zero are written to result when capacity is
 * larger than the result's length; nothing is ever written past capacity
 * units. The return value is the result's length in UTF-16 units, whatever
 * the capacity: a null result with capacity 0 just measures. */
int desFormataCGCCPF(const char16_t* value, char16_t* result, int capacity);
int formataCGCCPF(const char16_t* value, char16_t* result, int capacity);

/* 1 when value holds a valid CPF or CNPJ, 0 otherwise. */
int CgcCpfValido(const char16_t* value);

#ifdef __cplusplus
}
#endif

#endif
