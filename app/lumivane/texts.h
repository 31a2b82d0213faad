// The texts Form1 shows. The Cyrillic ones are wide strings: the form shows them through the
// wide-character functions, so they read correctly whatever the system's code page.
#pragma once

constexpr char kAppTitle[] = "Lumivane";
constexpr char kAppVersion[] = "0.1";

constexpr wchar_t kTipSwap[] = L"Поменять X на Y";
constexpr wchar_t kTipShowTessil[] = L"Показывать спектр";
constexpr wchar_t kTipFrequency[] = L"Частота дискретизации";
constexpr wchar_t kTipPortDelay[] = L"Скорость вывода в порт PPS";
constexpr wchar_t kTipStartStop[] = L"Начать/Закончить вывод в порт";
constexpr wchar_t kTipPort[] = L"Порт";
constexpr wchar_t kTipScanPeriod[] = L"Период сканирования";
constexpr wchar_t kTipTotalPoints[] = L"Точек в кадре";

constexpr wchar_t kOpenFailureTitlePrefix[] = L"Ошибка в ";
constexpr wchar_t kOpenFailureText[] =
    L"Невозможно открыть устройство ввода звука.\r\n"
    L"Возможно оно занято или используется другим приложением.";
constexpr wchar_t kDriverInstalled[] = L"Драйвер порта успешно установлен";
constexpr wchar_t kDriverInstallFailed[] = L"Ошибка установки драйвера!";

constexpr char kSysInfoUnavailable[] = "System Information Is Unavailable At This Time";
