#pragma once

#include <QString>

// Brazilian tax registration numbers: the 11-digit individual number (CPF)
// and the 14-digit company number (CNPJ, formerly CGC). A digit is one of
// "0" to "9"; every other character is a non-digit.
namespace fiscal {

// The digits of the text, in their order.
QString desFormataCGCCPF(const QString& Value);
// The digits with CPF (ddd.ddd.ddd-dd) or CNPJ (dd.ddd.ddd/dddd-dd)
// punctuation; any other number of digits comes back unchanged.
QString formataCGCCPF(const QString& Value);
// True when the digits are 11 that satisfy the CPF rule or 14 that satisfy
// the CNPJ rule.
bool CgcCpfValido(const QString& Value);
// The digit filter in place on a zero-terminated UTF-16 buffer.
char16_t* des(char16_t* Buffer);

} // namespace fiscal
