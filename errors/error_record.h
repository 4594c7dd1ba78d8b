#pragma once
// The description of a failed operation that the error handler and the
// error report read. Plain data: whoever detects the failure fills in what
// it knows and leaves the rest at its zero value.
#include <cstdint>
#include <string>

// Generic error classes (GenCode); ErrorGenCodeText names them.
enum ErrorGenCode : std::uint32_t {
  kGenNone = 0,
  kGenArgument = 1,
  kGenBound = 2,
  kGenOverflow = 3,
  kGenZeroDivide = 4,
  kGenNumeric = 5,
  kGenMemory = 6,
  kGenOpen = 7,
  kGenCreate = 8,
  kGenRead = 9,
  kGenWrite = 10,
  kGenAccess = 11,
  kGenException = 12,
};

// Type codes of ArgType and ArgTypeReq; ErrorTypeName names them.
enum ErrorTypeCode : std::uint32_t {
  kTypeNone = 0,
  kTypeInteger = 1,
  kTypeReal = 2,
  kTypeLogic = 3,
  kTypeText = 4,
  kTypeDate = 5,
  kTypeSymbol = 6,
  kTypeAddress = 7,
  kTypeObject = 8,
  kTypeArray = 9,
};

// Sub-codes that MyErrorHandler treats itself.
constexpr std::uint32_t kSubCodeOpenFailed = 1101;
constexpr std::uint32_t kSubCodeAssertion = 1053;
constexpr std::uint32_t kSubCodeWriteProtected = 2012;

// RetryRequest value that asks for the failed operation to run again.
constexpr std::uint32_t kRetryRequested = 2;

struct Error {
  std::string SubSystem;
  std::uint32_t SubCode = 0;
  std::uint32_t GenCode = kGenNone;
  std::uint32_t OsCode = 0;
  bool CanDefault = false;
  bool CanRetry = false;
  std::string Operation;
  std::string Description;
  std::string FileName;
  std::uint32_t Tries = 0;
  std::string FuncSym;  // symbol: its text
  std::uint32_t FileHandle = 0;
  std::uint32_t ArgNum = 0;
  std::uintptr_t FuncPtr = 0;
  std::string SubCodeText;
  std::string Arg;
  std::uint32_t ArgType = kTypeNone;
  std::uint32_t ArgTypeReq = kTypeNone;
  std::uint32_t MaxSize = 0;
  std::string CallFuncSym;  // symbol: its text
  std::string MethodSelf;   // class name of the object; empty when there is none
  std::uint32_t RetryRequest = 0;
};
