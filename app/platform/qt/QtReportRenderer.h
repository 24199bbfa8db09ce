#pragma once
// Reports as A4 PDF pages drawn with Qt's PDF writer.

#include "app/platform/ReportRenderer.h"

class CQtReportRenderer : public IReportRenderer {
public:
    bool RenderPdf(const ReportPage& page, std::string& pdf, std::string& error) override;
};
