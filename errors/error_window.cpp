#include "errors/error_window.h"

#include "app/globals.h"
#include "errors/callstack.h"
#include "errors/error_texts.h"
#include "errors/screen_capture.h"
#include "util/system.h"

namespace {
constexpr const char* kModule = "Func  Error";
constexpr std::uint32_t kLevelLimit = 11;
constexpr UINT kTimerPeriodMs = 500;

// The screen-capture slot. Only the window thread touches it: the timer
// callback runs inside the message box's modal loop on the same thread.
HBITMAP captureSlot = nullptr;

void EmptySlot() {
  if (captureSlot != nullptr) DeleteObject(captureSlot);
  captureSlot = nullptr;
}

struct Labels {
  const char* heading;
  const char* description;
  const char* osError;
  const char* typeMismatch;
  const char* typeJoiner;
  const char* remark1;
  const char* remark2;
  const char* position;
  const char* line;
};

const Labels& LabelsFor(std::uint16_t language) {
  static const Labels indonesian = {"APLIKASI ERROR!!!\r\n\r\n", "Keterangan : ", "DOS Error : ",
                                    "Argument Beda : ",          " dan ",         "Catatan 1 : ",
                                    "Catatan 2 : ",              "Posisi Error : ", " Baris ke: "};
  static const Labels english = {"APPLICATION ERROR!!!\r\n\r\n", "Description : ", "DOS Error : ",
                                 "Argument Diff : ",             " dan ",          "Remarks 1 : ",
                                 "Remarks 2 : ",                 "Error Position : ", " Baris ke: "};
  return language == 2 ? english : indonesian;
}
}  // namespace

std::string ErrorWindowText(const Error* error, const std::string& message, std::uint32_t level) {
  const Labels& l = LabelsFor(LanguageGet());
  std::string text = l.heading;
  if (error == nullptr) {
    text += std::string(l.description) + "\t" + message + "\r\n\r\n";
  } else {
    const Error& e = *error;
    text += std::string(l.description) + "\t";
    if (!e.Description.empty()) text += e.Description + " - ";
    text += ErrorGenCodeText(e.GenCode) + " (" + e.Arg + ") \r\n";
    text += std::string(l.osError) + "\t" + ErrorOsCodeText(e.OsCode) + "\r\n";
    if (e.ArgType != e.ArgTypeReq) {
      text += std::string(l.typeMismatch) + "\t" + ErrorTypeName(e.ArgType) + l.typeJoiner +
              ErrorTypeName(e.ArgTypeReq) + "\r\n";
    }
    text += std::string(l.remark1) + "\t" + ErrorRemarkGet() + "\r\n";
    text += std::string(l.remark2) + "\t" + message + "\r\n";
  }
  text += std::string(l.position) + "\r\n";
  for (std::uint32_t at = level; at < kLevelLimit; ++at) {
    const CallStackEntry entry = CallStackLevel(at);
    if (entry.line == 0) break;
    text += entry.module + ":" + entry.routine + l.line + std::to_string(entry.line) + "\r\n";
  }
  return text;
}

bool ErrorWindow(const Error* error, const std::string& message, std::uint32_t level,
                 const std::string& movedReport) {
  CALLSTACK_ENTER("ErrorWindow", kModule);
  GlobalErrorSet(true);
  std::string text = ErrorWindowText(error, message, level);
  // Not where the user would look for it: say where.
  if (!movedReport.empty()) text += (LanguageGet() == 2 ? "\r\nReport : " : "\r\nLaporan : ") + movedReport + "\r\n";
  VOClipboardCopy(text);  // a failure here changes nothing
  text += "\r\n\r\n";
  text += LanguageGet() == 2 ? "Save this error into JPEG picture file ?"
                             : "Simpan error ini ke dalam file gambar JPEG ?";
  CALLSTACK_LINE();
  const UINT_PTR timer = SetTimer(nullptr, 0, kTimerPeriodMs, ErrorWindowTimer);
  MessageBeep(0);
  const int answer = MessageBoxA(nullptr, text.c_str(), "Error", kErrorWindowStyle);
  if (timer != 0) KillTimer(nullptr, timer);
  CALLSTACK_LINE();
  if (answer == IDYES && captureSlot != nullptr) SaveScreenToJpg(nullptr, captureSlot);
  EmptySlot();
  return true;
}

void CALLBACK ErrorWindowTimer(HWND, UINT, UINT_PTR, DWORD) {
  EmptySlot();
  captureSlot = CopyScreenToBitmap(0, 0, 0, 0);
}
