#pragma once
// A printable report: a title, lines under headings, and a picture beside them,
// rendered as a PDF document in memory (the caller writes it to its file).

#include "app/platform/ImageDecoder.h"

#include <string>
#include <vector>

struct ReportLine {
    std::string name;
    std::string value;
    std::string unit;
};

struct ReportSection {
    std::string heading;
    std::vector<ReportLine> lines;
};

struct ReportPage {
    std::string title;
    std::string subtitle; // e.g. the program and its version; the date and time follow
    std::vector<ReportSection> sections;
    PixelBuffer picture;        // premultiplied pixels at logical size; empty for none
    std::string pictureCaption; // under the picture
};

class IReportRenderer {
public:
    virtual ~IReportRenderer() = default;
    // The page, with the date and time of rendering after the subtitle, as the bytes of a PDF
    // file. False when it cannot be rendered, with the reason in `error`.
    virtual bool RenderPdf(const ReportPage& page, std::string& pdf, std::string& error) = 0;
};
