// The user options: every group and value of the tree, in declaration
// order, with the key it is stored under, its type and its compiled-in
// default. The keys are part of the stored format that every module of the
// process shares: each character counts, spaces, case and punctuation
// included, misspellings too.
//
// Each group is one list (see OptionsMacros.h); a value is one line:
//   VALUE(type, class name, "key", default)
// Colours are 32-bit words with the alpha in the top byte, or "#RRGGBB"
// texts; opacities are percentages.
#pragma once

// clang-format off

// The families of groups that recur with their own defaults.

// A font: of the text tools, of page numbers, of watermarks, of headers and footers.
#define USROPT_FONT_MEMBERS(VALUE, family, size)                                                   \
    VALUE(std::wstring, Family, "Family", family)                                                  \
    VALUE(int, Format, "Format", 1)                                                                \
    VALUE(int, Size, "Size", size)                                                                 \
    VALUE(bool, Bold, "Bold", false)                                                               \
    VALUE(bool, Italic, "Italic", false)                                                           \
    VALUE(std::wstring, Color, "Color", L"#000000")                                                \
    VALUE(unsigned, Opacity, "Opacity", 100)                                                       \
    VALUE(int, Rotation, "Rotation", 0)                                                            \
    VALUE(float, CharSpacing, "Char Spacing", 0.0f)                                                \
    VALUE(float, HorzScaling, "Horz Scaling", 100.0f)                                              \
    VALUE(int, Escapement, "Escapement", 0)

// A shape annotation; the lines add their arrows.
#define USROPT_SHAPE_MEMBERS(VALUE, borderStyle, color, interiorColor)                             \
    VALUE(int, BorderStyle, "BorderStyle", borderStyle)                                            \
    VALUE(int, BorderWidth, "BorderWidth", 1)                                                      \
    VALUE(int, Color, "Color", color)                                                              \
    VALUE(unsigned, Opacity, "Opacity", 100)                                                       \
    VALUE(int, InteriorColor, "InteriorColor", interiorColor)                                      \
    VALUE(int, BlendMode, "BlendMode", 0)

// A line's arrow heads.
#define USROPT_ARROW_MEMBERS(VALUE, start, end)                                                    \
    VALUE(int, ArrowStart, "ArrowStart", start)                                                    \
    VALUE(int, ArrowEnd, "ArrowEnd", end)

// A form field's frame.
#define USROPT_FIELD_MEMBERS(VALUE, borderWidth, color, bgColor)                                   \
    VALUE(int, BorderStyle, "BorderStyle", 0)                                                      \
    VALUE(int, BorderWidth, "BorderWidth", borderWidth)                                            \
    VALUE(int, Color, "Color", color)                                                              \
    VALUE(int, BgColor, "BgColor", bgColor)                                                        \
    VALUE(int, Highlight, "Highlight", 1)

// A form field's tooltip and text.
#define USROPT_FIELD_TEXT_MEMBERS(VALUE, fontType, fontSize, fontColor)                            \
    VALUE(std::wstring, Tooltip, "Tooltip", L"")                                                   \
    VALUE(std::wstring, FontType, "FontType", fontType)                                            \
    VALUE(int, FontSize, "FontSize", fontSize)                                                     \
    VALUE(int, FontColor, "FontColor", fontColor)                                                  \
    VALUE(int, FontModifier, "FontModifier", 0)

// A size in points.
#define USROPT_SIZE_MEMBERS(VALUE, width, height)                                                  \
    VALUE(int, Width, "Width", width)                                                              \
    VALUE(int, Height, "Height", height)

// Margins in points.
#define USROPT_MARGIN_MEMBERS(VALUE, left, top, right, bottom)                                     \
    VALUE(float, Left, "Left", left)                                                               \
    VALUE(float, Top, "Top", top)                                                                  \
    VALUE(float, Right, "Right", right)                                                            \
    VALUE(float, Bottom, "Bottom", bottom)

// Printing a document, or the selection of one.
#define USROPT_PRINT_MEMBERS(VALUE, turnAndCentre, fit)                                            \
    VALUE(int, PageRange, "PageRange", 0)                                                          \
    VALUE(std::wstring, PageRangeData, "PageRangeData", L"")                                       \
    VALUE(int, PageSubject, "PageSubject", -1)                                                     \
    VALUE(bool, PageReverse, "PageReverse", false)                                                 \
    VALUE(int, Copies, "Copies", 1)                                                                \
    VALUE(int, Orientation, "Orientation", 1)                                                      \
    VALUE(int, ColorMode, "ColorMode", 2)                                                          \
    VALUE(bool, Collate, "Collate", true)                                                          \
    VALUE(bool, PrintToFile, "PrintToFile", false)                                                 \
    VALUE(std::wstring, PrinterName, "PrinterName", L"")                                           \
    VALUE(int, PaperSizeId, "PaperSizeId", 0)                                                      \
    VALUE(int, PaperSourceId, "PaperSourceId", 0)                                                  \
    VALUE(int, DocumentContentType, "DocumentContentType", 0)                                      \
    VALUE(bool, Autorotate, "Autorotate", turnAndCentre)                                           \
    VALUE(bool, Center, "Center", turnAndCentre)                                                   \
    VALUE(int, Fit, "Fit", fit)                                                                    \
    VALUE(int, ViewState, "ViewState", 0)                                                          \
    VALUE(bool, DuplexMode, "DuplexMode", false)                                                   \
    VALUE(int, DuplexBinding, "DuplexBinding", 1)                                                  \
    VALUE(bool, UseActualDimentions, "Use actual dimentions for Paper Size", false)                \
    VALUE(int, TileScale, "TileScale", 1)                                                          \
    VALUE(float, Overlap, "Overlap", 1.0f)                                                         \
    VALUE(bool, TileLarge, "TileLarge", true)                                                      \
    VALUE(int, PagesPerSheet, "PagesPerSheet", 0)                                                  \
    VALUE(int, PagesColumn, "PagesColumn", 0)                                                      \
    VALUE(int, PagesRow, "PagesRow", 0)                                                            \
    VALUE(int, PageOrder, "PageOrder", 0)                                                          \
    VALUE(bool, PrintImageBorder, "PrintImageBorder", true)                                        \
    VALUE(bool, BothSidePrint, "BothSidePrint", true)                                              \
    VALUE(int, BookletSubset, "BookletSubset", 2)                                                  \
    VALUE(int, SheetsFrom, "SheetsFrom", 0)                                                        \
    VALUE(int, SheetsTo, "SheetsTo", 0)                                                            \
    VALUE(int, Binding, "Binding", 0)

// The groups, depth first.

// Options
#define USROPT_MEMBERS_Options(GROUP, VALUE)                                                       \
    GROUP(MetaData, "MetaData", MetaData)                                                          \
    GROUP(General, "General", General)                                                             \
    GROUP(RecentDocuments, "RecentDocuments", RecentDocuments)                                     \
    GROUP(ResearchOpenedDocuments, "ResearchOpenedDocuments", ResearchOpenedDocuments)             \
    GROUP(Fonts, "Fonts", Fonts)                                                                   \
    GROUP(Paragraph, "Paragraph", Paragraph)                                                       \
    GROUP(Layout, "Layout", Layout)                                                                \
    GROUP(Snapping, "Snapping", Snapping)                                                          \
    GROUP(LookAndFeel, "LookAndFeel", LookAndFeel)                                                 \
    GROUP(Measurement, "Measurement", Measurement)                                                 \
    GROUP(Shapes, "Shapes", Shapes)                                                                \
    GROUP(Forms, "Forms", Forms)                                                                   \
    GROUP(StickerNote, "StickerNote", StickerNote)                                                 \
    GROUP(FileAttachment, "FileAttachment", FileAttachment)                                        \
    GROUP(Ink, "Ink", Ink)                                                                         \
    GROUP(Links, "Links", Links)                                                                   \
    GROUP(Redaction, "Redaction", Redaction)                                                       \
    GROUP(PageSize, "PageSize", PageSize)                                                          \
    GROUP(PageMargins, "PageMargins", PageMargins)                                                 \
    GROUP(InsertPageNumbers, "InsertPageNumbers", InsertPageNumbers)                               \
    GROUP(Background, "Background", Background)                                                    \
    GROUP(SignDocument, "SignDocument", SignDocument)                                              \
    GROUP(Watermark, "Watermark", Watermark)                                                       \
    GROUP(HeaderAndFooter, "HeaderAndFooter", HeaderAndFooter)                                     \
    GROUP(CropPages, "CropPages", CropPages)                                                       \
    GROUP(Print, "Print", Print)                                                                   \
    GROUP(PrintSelection, "PrintSelection", PrintSelection)                                        \
    GROUP(OCR, "OCR", OCR)                                                                         \
    GROUP(TESSOCR, "TESS OCR", TESSOCR)                                                            \
    GROUP(Spelling, "Spelling", Spelling)

// Options/MetaData
#define USROPT_MEMBERS_MetaData(GROUP, VALUE)                                                      \
    VALUE(int, Version, "Version", 0)                                                              \
    VALUE(std::int64_t, LastUpdateTime, "LastUpdateTime", 0)

// Options/General
#define USROPT_MEMBERS_General(GROUP, VALUE)                                                       \
    VALUE(bool, HibernateOnClose, "Hibernate on close", true)                                      \
    VALUE(bool, EnableJavaScript, "Enable JavaScript execution", true)                             \
    VALUE(bool, DisableGenerateThumbnails, "Disable generate thumbnails", false)                   \
    VALUE(bool, ShowSecondInstanceSplash, "Show splash of second application instance", false)     \
    VALUE(bool, ModalDlgShadingOn, "Enable window shading by modal dialog", true)                  \
    VALUE(bool, LeaveFullscreenModeOnCloseAllDocs, "Leave fullscreen mode on close all docs", true) \
    VALUE(bool, AllowDocumentPanelsReordering, "Allow document panels reordering", true)           \
    VALUE(bool, ShowCalibrationHintDialog, "Show calibration hint dialog", true)                   \
    VALUE(bool, ShowSearchAndRedactHint, "Show search and redact hint", true)                      \
    VALUE(std::wstring, RecentColors, "Recent colors", L"")                                        \
    VALUE(std::wstring, CustomColors, "Custom colors", L"")                                        \
    VALUE(unsigned, LastColorHighlight, "Last Color Highlight", 0xFFFFEA3B)                        \
    VALUE(unsigned, LastColorStrikeOut, "Last Color StrikeOut", 0xFFFF3724)                        \
    VALUE(unsigned, LastColorUnderline, "Last Color Underline", 0xFF44DC5E)                        \
    VALUE(int, MBTruncatedNameLength, "MessageBox truncated name length", 21)                      \
    VALUE(int, CustomTabItemMaxSize, "Custom Tab Capacity", 24)                                    \
    VALUE(UsersPreferences::RecognizeEngine, OCREngine, "OCR Engine", 1)                           \
    VALUE(std::wstring, DocAuthor, "DocAuthor", L"")                                               \
    VALUE(int, OptimizedSaveQuality, "Optimized save quality", 2)                                  \
    VALUE(bool, AutoOpenExtractedDocument, "Autoopen extracted document", false)

// Options/RecentDocuments
#define USROPT_MEMBERS_RecentDocuments(GROUP, VALUE)                                               \
    VALUE(UsersPreferences::RecentView, DefView, "Default View", 0)                                \
    VALUE(bool, CheckRecentDocumentPath, "Check recent document path", true)

// Options/ResearchOpenedDocuments
#define USROPT_MEMBERS_ResearchOpenedDocuments(GROUP, VALUE)                                       \
    VALUE(bool, Enable, "Enable", true)                                                            \
    VALUE(int, MaxNotifications, "MaxNotifications", 3)                                            \
    GROUP(AtDocOpen, "AtDocOpen", ResearchOpenedDocuments_AtDocOpen)                               \
    GROUP(AtPageLoad, "AtPageLoad", ResearchOpenedDocuments_AtPageLoad)

// Options/ResearchOpenedDocuments/AtDocOpen
#define USROPT_MEMBERS_ResearchOpenedDocuments_AtDocOpen(GROUP, VALUE)                             \
    VALUE(int, NumPagesToCheck, "NumPagesToCheck", 5)                                              \
    VALUE(int, CheckLastPage, "CheckLastPage", 1)                                                  \
    VALUE(int, CheckPermissionsPW, "CheckPermissionsPW", 1)                                        \
    VALUE(int, CheckRecognizableImages, "CheckRecognizableImages", 1)                              \
    VALUE(int, CheckAttachments, "CheckAttachments", 1)                                            \
    VALUE(int, CheckSignature, "CheckSignature", 1)                                                \
    VALUE(int, CheckComments, "CheckComments", 1)

// Options/ResearchOpenedDocuments/AtPageLoad
#define USROPT_MEMBERS_ResearchOpenedDocuments_AtPageLoad(GROUP, VALUE)                            \
    VALUE(bool, CheckRecognizableImages, "CheckRecognizableImages", true)                          \
    VALUE(bool, CheckComments, "CheckComments", true)

// Options/Fonts
#define USROPT_MEMBERS_Fonts(GROUP, VALUE)                                                         \
    GROUP(Default, "Default", Fonts_Default)                                                       \
    VALUE(int, SizeMin, "Size Min", 6)                                                             \
    VALUE(int, SizeMax, "Size Max", 72)

// Options/Fonts/Default
#define USROPT_MEMBERS_Fonts_Default(GROUP, VALUE)                                                 \
    USROPT_FONT_MEMBERS(VALUE, L"Times New Roman", 12)

// Options/Paragraph
#define USROPT_MEMBERS_Paragraph(GROUP, VALUE)                                                     \
    VALUE(int, Alignment, "Alignment", 0)                                                          \
    VALUE(float, LineSpacing, "Line Spacing", 1.15f)                                               \
    VALUE(float, FirstLineIndent, "First Line Indent", 0.0f)                                       \
    VALUE(float, ParagraphSpacing, "Paragraph Spacing", 0.0f)                                      \
    VALUE(int, ListStyle, "List Style", 0)

// Options/Layout
#define USROPT_MEMBERS_Layout(GROUP, VALUE)                                                        \
    VALUE(UsersPreferences::DocumentViewState, ViewState, "View State", 2)                         \
    VALUE(UsersPreferences::PageViewState, PageView, "Page View", 0)                               \
    VALUE(Measurement::Enum, Units, "Units", 1)                                                    \
    VALUE(PageSize::PageSizeNameId, PageSize, "Page Size", 0)                                      \
    VALUE(bool, Fullscreen, "Fullscreen", false)

// Options/Snapping
#define USROPT_MEMBERS_Snapping(GROUP, VALUE)                                                      \
    VALUE(float, Threshold, "Threshold", 5.0f)                                                     \
    VALUE(float, DistanceVert, "Default vertical distance", 10.0f)                                 \
    VALUE(float, DistanceHorz, "Default horizontal distance", 10.0f)

// Options/LookAndFeel
#define USROPT_MEMBERS_LookAndFeel(GROUP, VALUE)                                                   \
    VALUE(float, TransformerAnchorRadius, "Transformer anchor radius", 4.0f)                       \
    VALUE(float, TransformerOriginRadius, "Transformer origin radius", 3.0f)                       \
    VALUE(float, TransformerScaleZoneRadius, "Transformer scale zone radius", 8.0f)                \
    VALUE(float, TransformerRotateZoneRadius, "Transformer rotate zone radius", 16.0f)             \
    VALUE(int, SnapLinesColor, "Snap lines color", 0xFFE52237)                                     \
    VALUE(int, SnapGuidesColor, "Snap guides color", 0xFF4F8DE1)                                   \
    VALUE(int, SnapActiveGuideColor, "Snap active guide color", 0xFFE52237)                        \
    VALUE(bool, GridShowOnlyDots, "Grid show only dots", false)                                    \
    VALUE(int, GridLinesColor, "Grid lines color", 0x40808080)                                     \
    VALUE(int, AnnotTransformerFrameColor, "Annotation transformer frame color", 0xFF4F8DE1)       \
    VALUE(int, AnnotTransformerHighlightColor, "Annotation transformer highlight color", 0x404F8DE1) \
    VALUE(int, MultiTransformerFrameColor, "Multiselect transformer frame color", 0xFF4F8DE1)      \
    VALUE(int, MultiTransformerObjectColor, "Multiselect transformer object color", 0x804F8DE1)    \
    VALUE(int, TextCopySelectionColor, "Text copy selection color", 0x663399FF)                    \
    VALUE(int, TextEditSelectionColor, "Text edit selection color", 0x663399FF)                    \
    VALUE(int, TextTransformerFrameColor, "Text transformer frame color", 0xFF4F8DE1)              \
    VALUE(int, TextBlockBackgroundColor, "Text block background color", 0x204F8DE1)                \
    VALUE(int, TextTransformerHighlightColor, "Text transformer highlight color", 0x404F8DE1)      \
    VALUE(int, ImageTransformerFrameColor, "Image transformer frame color", 0xFF4F8DE1)            \
    VALUE(int, ImageTransformerClippingColor, "Image transformer clipping color", 0x80000000)      \
    VALUE(int, ImageTransformerHighlightColor, "Image transformer highlight color", 0x404F8DE1)    \
    VALUE(int, ClipEditTransformerFrameColor, "Clip edit transformer frame color", 0xFF4F8DE1)     \
    VALUE(int, ClipEditTransformerObjectColor, "Clip edit transformer object color", 0x804F8DE1)   \
    VALUE(int, ClipEditTransformerHighlightColor, "Clip edit transformer highlight color", 0x404F8DE1) \
    VALUE(int, ClipCreationFrameColor, "Clip creation frame color", 0xFF4F8DE1)                    \
    VALUE(int, ImageCropTransformerFrameColor, "Image crop transformer frame color", 0xFF4F8DE1)   \
    VALUE(int, ImageCropTransformerObjectColor, "Image crop transformer object color", 0x804F8DE1) \
    VALUE(int, ImageCropTransformerAreaColor, "Image crop transformer area color", 0x80000000)     \
    VALUE(int, WidgetCreationFrameColor, "Widget creation frame color", 0xFF4F8DE1)                \
    VALUE(int, CropSelectionColor, "Crop selection color", 0x80000000)                             \
    VALUE(std::wstring, SignatureAppearanceTitleColor, "Signature appearance title color", L"#9fb9db") \
    VALUE(int, FormatPainterSelectionColor, "Format painter selection color", 0x663399FF)

// Options/Measurement
#define USROPT_MEMBERS_Measurement(GROUP, VALUE)                                                   \
    VALUE(int, LineLeaderLength, "Leader length", 10)                                              \
    VALUE(int, LineExtension, "Leader extension above line", 5)                                    \
    VALUE(int, LineOffset, "Leader offset from line points", 0)                                    \
    VALUE(bool, LineLLUseAsDefault, "Use as default", false)                                       \
    VALUE(std::wstring, LineCaptionStyle, "Caption style", L"inside")                              \
    VALUE(bool, UseDocumentMeasureDictIfPresent, "Use Scale and Units from document (when present)", true) \
    VALUE(bool, UseOrthographicLines, "Use orthographic lines", false)                             \
    VALUE(bool, UseDefaultLabel, "Use default label", true)                                        \
    VALUE(std::wstring, CustomLabel, "Custom label", L"")

// Options/Shapes
#define USROPT_MEMBERS_Shapes(GROUP, VALUE)                                                        \
    GROUP(Line, "Line", Shapes_Line)                                                               \
    GROUP(LineArrow, "LineArrow", Shapes_LineArrow)                                                \
    GROUP(LineDoubleArrow, "LineDoubleArrow", Shapes_LineDoubleArrow)                              \
    GROUP(PolyLine, "PolyLine", Shapes_PolyLine)                                                   \
    GROUP(Polygon, "Polygon", Shapes_Polygon)                                                      \
    GROUP(Square, "Square", Shapes_Square)                                                         \
    GROUP(Circle, "Circle", Shapes_Circle)                                                         \
    GROUP(Cloud, "Cloud", Shapes_Cloud)                                                            \
    GROUP(LineDimension, "LineDimension", Shapes_LineDimension)                                    \
    GROUP(PolyLineDimension, "PolyLineDimension", Shapes_PolyLineDimension)                        \
    GROUP(PolygonDimension, "PolygonDimension", Shapes_PolygonDimension)

// Options/Shapes/Line
#define USROPT_MEMBERS_Shapes_Line(GROUP, VALUE)                                                   \
    USROPT_SHAPE_MEMBERS(VALUE, 0, 0xFF4F8DE1, 0xFF4F8DE1)                                         \
    USROPT_ARROW_MEMBERS(VALUE, 0, 0)

// Options/Shapes/LineArrow
#define USROPT_MEMBERS_Shapes_LineArrow(GROUP, VALUE)                                              \
    USROPT_SHAPE_MEMBERS(VALUE, 0, 0xFF4F8DE1, 0xFF4F8DE1)                                         \
    USROPT_ARROW_MEMBERS(VALUE, 0, 1)

// Options/Shapes/LineDoubleArrow
#define USROPT_MEMBERS_Shapes_LineDoubleArrow(GROUP, VALUE)                                        \
    USROPT_SHAPE_MEMBERS(VALUE, 0, 0xFF4F8DE1, 0xFF4F8DE1)                                         \
    USROPT_ARROW_MEMBERS(VALUE, 1, 1)

// Options/Shapes/PolyLine
#define USROPT_MEMBERS_Shapes_PolyLine(GROUP, VALUE)                                               \
    USROPT_SHAPE_MEMBERS(VALUE, 0, 0xFF4F8DE1, 0)                                                  \
    USROPT_ARROW_MEMBERS(VALUE, 0, 0)

// Options/Shapes/Polygon
#define USROPT_MEMBERS_Shapes_Polygon(GROUP, VALUE)                                                \
    USROPT_SHAPE_MEMBERS(VALUE, 0, 0xFF4F8DE1, 0)

// Options/Shapes/Square
#define USROPT_MEMBERS_Shapes_Square(GROUP, VALUE)                                                 \
    USROPT_SHAPE_MEMBERS(VALUE, 0, 0xFF4F8DE1, 0)

// Options/Shapes/Circle
#define USROPT_MEMBERS_Shapes_Circle(GROUP, VALUE)                                                 \
    USROPT_SHAPE_MEMBERS(VALUE, 0, 0xFF4F8DE1, 0)

// Options/Shapes/Cloud
#define USROPT_MEMBERS_Shapes_Cloud(GROUP, VALUE)                                                  \
    USROPT_SHAPE_MEMBERS(VALUE, 7, 0xFF4F8DE1, 0)

// Options/Shapes/LineDimension
#define USROPT_MEMBERS_Shapes_LineDimension(GROUP, VALUE)                                          \
    USROPT_SHAPE_MEMBERS(VALUE, 0, 0xFFE52237, 0xFFE52237)                                         \
    USROPT_ARROW_MEMBERS(VALUE, 2, 2)

// Options/Shapes/PolyLineDimension
#define USROPT_MEMBERS_Shapes_PolyLineDimension(GROUP, VALUE)                                      \
    USROPT_SHAPE_MEMBERS(VALUE, 0, 0xFFE52237, 0xFFE52237)                                         \
    USROPT_ARROW_MEMBERS(VALUE, 0, 0)

// Options/Shapes/PolygonDimension
#define USROPT_MEMBERS_Shapes_PolygonDimension(GROUP, VALUE)                                       \
    USROPT_SHAPE_MEMBERS(VALUE, 0, 0xFFE52237, 0)

// Options/Forms
#define USROPT_MEMBERS_Forms(GROUP, VALUE)                                                         \
    VALUE(int, HighlightColor, "HighlightColor", 0x4D448EE2)                                       \
    GROUP(TextField, "TextField", Forms_TextField)                                                 \
    GROUP(ListBox, "ListBox", Forms_ListBox)                                                       \
    GROUP(ComboBox, "ComboBox", Forms_ComboBox)                                                    \
    GROUP(Button, "Button", Forms_Button)                                                          \
    GROUP(CheckBox, "CheckBox", Forms_CheckBox)                                                    \
    GROUP(RadioButton, "RadioButton", Forms_RadioButton)                                           \
    GROUP(DigitalSignature, "DigitalSignature", Forms_DigitalSignature)

// Options/Forms/TextField
#define USROPT_MEMBERS_Forms_TextField(GROUP, VALUE)                                               \
    GROUP(Size, "Size", Forms_TextField_Size)                                                      \
    USROPT_FIELD_MEMBERS(VALUE, 1, 0xFFABADB3, 0xFFFFFFFF)                                         \
    VALUE(int, TextAlignment, "TextAlignment", 0)                                                  \
    VALUE(bool, Multiline, "Multiline", false)                                                     \
    VALUE(bool, Password, "Password", false)                                                       \
    USROPT_FIELD_TEXT_MEMBERS(VALUE, L"Times New Roman", 12, 0xFF444444)

// Options/Forms/TextField/Size
#define USROPT_MEMBERS_Forms_TextField_Size(GROUP, VALUE)                                          \
    USROPT_SIZE_MEMBERS(VALUE, 150, 22)

// Options/Forms/ListBox
#define USROPT_MEMBERS_Forms_ListBox(GROUP, VALUE)                                                 \
    GROUP(Size, "Size", Forms_ListBox_Size)                                                        \
    USROPT_FIELD_MEMBERS(VALUE, 1, 0xFFABADB3, 0xFFFFFFFF)                                         \
    VALUE(int, TextAlignment, "TextAlignment", 0)                                                  \
    USROPT_FIELD_TEXT_MEMBERS(VALUE, L"Times New Roman", 12, 0xFF444444)

// Options/Forms/ListBox/Size
#define USROPT_MEMBERS_Forms_ListBox_Size(GROUP, VALUE)                                            \
    USROPT_SIZE_MEMBERS(VALUE, 150, 60)

// Options/Forms/ComboBox
#define USROPT_MEMBERS_Forms_ComboBox(GROUP, VALUE)                                                \
    GROUP(Size, "Size", Forms_ComboBox_Size)                                                       \
    USROPT_FIELD_MEMBERS(VALUE, 1, 0xFFABADB3, 0xFFFFFFFF)                                         \
    VALUE(int, TextAlignment, "TextAlignment", 0)                                                  \
    USROPT_FIELD_TEXT_MEMBERS(VALUE, L"Times New Roman", 12, 0xFF444444)

// Options/Forms/ComboBox/Size
#define USROPT_MEMBERS_Forms_ComboBox_Size(GROUP, VALUE)                                           \
    USROPT_SIZE_MEMBERS(VALUE, 150, 22)

// Options/Forms/Button
#define USROPT_MEMBERS_Forms_Button(GROUP, VALUE)                                                  \
    GROUP(Size, "Size", Forms_Button_Size)                                                         \
    USROPT_FIELD_MEMBERS(VALUE, 1, 0xFFF1BC56, 0xFFFFE7B1)                                         \
    USROPT_FIELD_TEXT_MEMBERS(VALUE, L"Arial", 0, 0xFF787877)

// Options/Forms/Button/Size
#define USROPT_MEMBERS_Forms_Button_Size(GROUP, VALUE)                                             \
    USROPT_SIZE_MEMBERS(VALUE, 80, 24)

// Options/Forms/CheckBox
#define USROPT_MEMBERS_Forms_CheckBox(GROUP, VALUE)                                                \
    GROUP(Size, "Size", Forms_CheckBox_Size)                                                       \
    USROPT_FIELD_MEMBERS(VALUE, 1, 0xFFABADB3, 0xFFFFFFFF)                                         \
    VALUE(std::wstring, Caption, "Caption", L"6")                                                  \
    VALUE(std::wstring, Tooltip, "Tooltip", L"")                                                   \
    VALUE(int, FontSize, "FontSize", 0)                                                            \
    VALUE(int, FontColor, "FontColor", 0xFF4F8DE1)

// Options/Forms/CheckBox/Size
#define USROPT_MEMBERS_Forms_CheckBox_Size(GROUP, VALUE)                                           \
    USROPT_SIZE_MEMBERS(VALUE, 14, 14)

// Options/Forms/RadioButton
#define USROPT_MEMBERS_Forms_RadioButton(GROUP, VALUE)                                             \
    GROUP(Size, "Size", Forms_RadioButton_Size)                                                    \
    USROPT_FIELD_MEMBERS(VALUE, 1, 0xFFABADB3, 0xFFFFFFFF)                                         \
    VALUE(std::wstring, Caption, "Caption", L"l")                                                  \
    VALUE(std::wstring, Tooltip, "Tooltip", L"")                                                   \
    VALUE(int, FontSize, "FontSize", 0)                                                            \
    VALUE(int, FontColor, "FontColor", 0xFF4F8DE1)

// Options/Forms/RadioButton/Size
#define USROPT_MEMBERS_Forms_RadioButton_Size(GROUP, VALUE)                                        \
    USROPT_SIZE_MEMBERS(VALUE, 14, 14)

// Options/Forms/DigitalSignature
#define USROPT_MEMBERS_Forms_DigitalSignature(GROUP, VALUE)                                        \
    GROUP(Size, "Size", Forms_DigitalSignature_Size)                                               \
    USROPT_FIELD_MEMBERS(VALUE, 0, 0, 0)                                                           \
    USROPT_FIELD_TEXT_MEMBERS(VALUE, L"Arial", 0, 0xFF444444)

// Options/Forms/DigitalSignature/Size
#define USROPT_MEMBERS_Forms_DigitalSignature_Size(GROUP, VALUE)                                   \
    USROPT_SIZE_MEMBERS(VALUE, 180, 60)

// Options/StickerNote
#define USROPT_MEMBERS_StickerNote(GROUP, VALUE)                                                   \
    VALUE(int, Color, "Color", 0xFFFFD54F)                                                         \
    VALUE(unsigned, Opacity, "Opacity", 100)                                                       \
    VALUE(int, BlendMode, "BlendMode", 0)

// Options/FileAttachment
#define USROPT_MEMBERS_FileAttachment(GROUP, VALUE)                                                \
    VALUE(int, Color, "Color", 0xFF4F8DE1)                                                         \
    VALUE(unsigned, Opacity, "Opacity", 100)                                                       \
    VALUE(int, BlendMode, "BlendMode", 0)

// Options/Ink
#define USROPT_MEMBERS_Ink(GROUP, VALUE)                                                           \
    VALUE(int, BorderStyle, "BorderStyle", 0)                                                      \
    VALUE(int, BorderWidth, "BorderWidth", 1)                                                      \
    VALUE(int, Color, "Color", 0xFF4F8DE1)                                                         \
    VALUE(unsigned, Opacity, "Opacity", 100)                                                       \
    VALUE(int, BlendMode, "BlendMode", 0)

// Options/Links
#define USROPT_MEMBERS_Links(GROUP, VALUE)                                                         \
    VALUE(int, BorderStyle, "BorderStyle", 0)                                                      \
    VALUE(int, BorderWidth, "BorderWidth", 1)                                                      \
    VALUE(int, Color, "Color", 0xFF0000FF)                                                         \
    VALUE(int, BlendMode, "BlendMode", 0)

// Options/Redaction
#define USROPT_MEMBERS_Redaction(GROUP, VALUE)                                                     \
    VALUE(int, InteriorColor, "Redacted Area Fill Color", 0xFF000000)                              \
    GROUP(RedactionMarkOutline, "Redaction Mark Outline", Redaction_RedactionMarkOutline)          \
    GROUP(RedactionMarkFill, "Redaction Mark Fill", Redaction_RedactionMarkFill)                   \
    VALUE(int, BlendMode, "BlendMode", 0)

// Options/Redaction/Redaction Mark Outline
#define USROPT_MEMBERS_Redaction_RedactionMarkOutline(GROUP, VALUE)                                \
    VALUE(int, Color, "Redaction Mark Outline Color", 0xFFE52237)                                  \
    VALUE(int, BorderWidth, "Redaction Mark Outline Border", 1)

// Options/Redaction/Redaction Mark Fill
#define USROPT_MEMBERS_Redaction_RedactionMarkFill(GROUP, VALUE)                                   \
    VALUE(int, Color, "Redaction Mark Fill Color", 0xFF000000)                                     \
    VALUE(unsigned, Opacity, "Redaction Mark Fill Opacity", 50)

// Options/PageSize
#define USROPT_MEMBERS_PageSize(GROUP, VALUE)                                                      \
    VALUE(Measurement::Enum, Units, "Units", 1)                                                    \
    VALUE(PageSize::PageSizeNameId, SizeId, "SizeId", 0)                                           \
    GROUP(Custom, "Custom", PageSize_Custom)

// Options/PageSize/Custom
#define USROPT_MEMBERS_PageSize_Custom(GROUP, VALUE)                                               \
    USROPT_SIZE_MEMBERS(VALUE, 612, 792)

// Options/PageMargins
#define USROPT_MEMBERS_PageMargins(GROUP, VALUE)                                                   \
    VALUE(Measurement::Enum, Units, "Units", 1)                                                    \
    GROUP(Margins, "Margins", PageMargins_Margins)

// Options/PageMargins/Margins
#define USROPT_MEMBERS_PageMargins_Margins(GROUP, VALUE)                                           \
    VALUE(int, Left, "Left", 72)                                                                   \
    VALUE(int, Top, "Top", 72)                                                                     \
    VALUE(int, Right, "Right", 72)                                                                 \
    VALUE(int, Bottom, "Bottom", 72)

// Options/InsertPageNumbers
#define USROPT_MEMBERS_InsertPageNumbers(GROUP, VALUE)                                             \
    VALUE(int, PageRange, "PageRange", 0)                                                          \
    VALUE(std::wstring, PageRangeData, "PageRangeData", L"")                                       \
    GROUP(Font, "Font", InsertPageNumbers_Font)                                                    \
    VALUE(int, FontSizeMax, "FontSizeMax", 72)                                                     \
    VALUE(int, NumberFormat, "Number format", 0)                                                   \
    VALUE(int, Position, "Position", 0)                                                            \
    VALUE(int, StartAt, "Start At", 1)

// Options/InsertPageNumbers/Font
#define USROPT_MEMBERS_InsertPageNumbers_Font(GROUP, VALUE)                                        \
    USROPT_FONT_MEMBERS(VALUE, L"Arial", 42)

// Options/Background
#define USROPT_MEMBERS_Background(GROUP, VALUE)                                                    \
    VALUE(int, PageRange, "PageRange", 0)                                                          \
    VALUE(std::wstring, PageRangeData, "PageRangeData", L"")                                       \
    VALUE(std::wstring, ContentColor, "Background Color", L"#FFFFFF")

// Options/SignDocument
#define USROPT_MEMBERS_SignDocument(GROUP, VALUE)                                                  \
    VALUE(int, Appearance, "Appearance", 0)                                                        \
    VALUE(std::wstring, ItemPath, "ItemPath", L"")                                                 \
    VALUE(int, Reason, "Reason", 0)                                                                \
    VALUE(int, Certificate, "Certificate", 0)                                                      \
    VALUE(bool, TimeStamp, "TimeStamp", false)                                                     \
    GROUP(SignatureSize, "SignatureSize", SignDocument_SignatureSize)

// Options/SignDocument/SignatureSize
#define USROPT_MEMBERS_SignDocument_SignatureSize(GROUP, VALUE)                                    \
    USROPT_SIZE_MEMBERS(VALUE, 180, 60)

// Options/Watermark
#define USROPT_MEMBERS_Watermark(GROUP, VALUE)                                                     \
    VALUE(int, Position, "Position", 0)                                                            \
    VALUE(bool, BehindContent, "BehindContent", false)                                             \
    VALUE(std::wstring, Text, "Text", L"")                                                         \
    VALUE(int, FontSizeMax, "FontSizeMax", 200)                                                    \
    GROUP(Font, "Font", Watermark_Font)                                                            \
    VALUE(int, PageRange, "PageRange", 0)                                                          \
    VALUE(int, PageRangeSubset, "PageRangeSubset", 0)                                              \
    VALUE(std::wstring, PageRangeData, "PageRangeData", L"")

// Options/Watermark/Font
#define USROPT_MEMBERS_Watermark_Font(GROUP, VALUE)                                                \
    USROPT_FONT_MEMBERS(VALUE, L"Arial", 42)

// Options/HeaderAndFooter
#define USROPT_MEMBERS_HeaderAndFooter(GROUP, VALUE)                                               \
    VALUE(Measurement::Enum, Units, "Units", 1)                                                    \
    VALUE(int, Position, "Position", 0)                                                            \
    VALUE(bool, ShrinkDocument, "ShrinkDocument", false)                                           \
    GROUP(Margin, "Margin", HeaderAndFooter_Margin)                                                \
    GROUP(Text, "Text", HeaderAndFooter_Text)                                                      \
    GROUP(Font, "Font", HeaderAndFooter_Font)                                                      \
    VALUE(int, FontSizeMax, "FontSizeMax", 72)                                                     \
    VALUE(int, PageRange, "PageRange", 0)                                                          \
    VALUE(int, PageRangeSubset, "PageRangeSubset", 0)                                              \
    VALUE(std::wstring, PageRangeData, "PageRangeData", L"")

// Options/HeaderAndFooter/Margin
#define USROPT_MEMBERS_HeaderAndFooter_Margin(GROUP, VALUE)                                        \
    USROPT_MARGIN_MEMBERS(VALUE, 72.0f, 36.0f, 72.0f, 36.0f)

// Options/HeaderAndFooter/Text
#define USROPT_MEMBERS_HeaderAndFooter_Text(GROUP, VALUE)                                          \
    VALUE(std::wstring, Top, "Top", L"")                                                           \
    VALUE(std::wstring, TopL, "TopL", L"")                                                         \
    VALUE(std::wstring, TopR, "TopR", L"")                                                         \
    VALUE(std::wstring, Bottom, "Bottom", L"")                                                     \
    VALUE(std::wstring, BottomL, "BottomL", L"")                                                   \
    VALUE(std::wstring, BottomR, "BottomR", L"")

// Options/HeaderAndFooter/Font
#define USROPT_MEMBERS_HeaderAndFooter_Font(GROUP, VALUE)                                          \
    GROUP(Top, "Top", HeaderAndFooter_Font_Top)                                                    \
    GROUP(TopL, "TopL", HeaderAndFooter_Font_TopL)                                                 \
    GROUP(TopR, "TopR", HeaderAndFooter_Font_TopR)                                                 \
    GROUP(Bottom, "Bottom", HeaderAndFooter_Font_Bottom)                                           \
    GROUP(BottomL, "BottomL", HeaderAndFooter_Font_BottomL)                                        \
    GROUP(BottomR, "BottomR", HeaderAndFooter_Font_BottomR)

// Options/HeaderAndFooter/Font/Top
#define USROPT_MEMBERS_HeaderAndFooter_Font_Top(GROUP, VALUE)                                      \
    USROPT_FONT_MEMBERS(VALUE, L"Arial", 16)

// Options/HeaderAndFooter/Font/TopL
#define USROPT_MEMBERS_HeaderAndFooter_Font_TopL(GROUP, VALUE)                                     \
    USROPT_FONT_MEMBERS(VALUE, L"Arial", 16)

// Options/HeaderAndFooter/Font/TopR
#define USROPT_MEMBERS_HeaderAndFooter_Font_TopR(GROUP, VALUE)                                     \
    USROPT_FONT_MEMBERS(VALUE, L"Arial", 16)

// Options/HeaderAndFooter/Font/Bottom
#define USROPT_MEMBERS_HeaderAndFooter_Font_Bottom(GROUP, VALUE)                                   \
    USROPT_FONT_MEMBERS(VALUE, L"Arial", 16)

// Options/HeaderAndFooter/Font/BottomL
#define USROPT_MEMBERS_HeaderAndFooter_Font_BottomL(GROUP, VALUE)                                  \
    USROPT_FONT_MEMBERS(VALUE, L"Arial", 16)

// Options/HeaderAndFooter/Font/BottomR
#define USROPT_MEMBERS_HeaderAndFooter_Font_BottomR(GROUP, VALUE)                                  \
    USROPT_FONT_MEMBERS(VALUE, L"Arial", 16)

// Options/CropPages
#define USROPT_MEMBERS_CropPages(GROUP, VALUE)                                                     \
    VALUE(int, PageBox, "PageBox", 0)                                                              \
    VALUE(Measurement::Enum, Units, "Units", 1)                                                    \
    GROUP(Margin, "Margin", CropPages_Margin)                                                      \
    VALUE(int, PageRange, "PageRange", 0)                                                          \
    VALUE(int, PageRangeSubset, "PageRangeSubset", 0)                                              \
    VALUE(std::wstring, PageRangeData, "PageRangeData", L"")

// Options/CropPages/Margin
#define USROPT_MEMBERS_CropPages_Margin(GROUP, VALUE)                                              \
    USROPT_MARGIN_MEMBERS(VALUE, 0.0f, 0.0f, 0.0f, 0.0f)

// Options/Print
#define USROPT_MEMBERS_Print(GROUP, VALUE)                                                         \
    USROPT_PRINT_MEMBERS(VALUE, true, 1)

// Options/PrintSelection
#define USROPT_MEMBERS_PrintSelection(GROUP, VALUE)                                                \
    USROPT_PRINT_MEMBERS(VALUE, false, 0)

// Options/OCR
#define USROPT_MEMBERS_OCR(GROUP, VALUE)                                                           \
    VALUE(bool, UseOCR, "Use OCR while scanning a document", false)

// Options/TESS OCR
#define USROPT_MEMBERS_TESSOCR(GROUP, VALUE)                                                       \
    GROUP(RecognitionParameters, "Recognition parameters", TESSOCR_RecognitionParameters)          \
    GROUP(ImagePreprocessing, "Image pre-processing parameters", TESSOCR_ImagePreprocessing)       \
    GROUP(FormattingParameters, "Formatting parameters", TESSOCR_FormattingParameters)

// Options/TESS OCR/Recognition parameters
#define USROPT_MEMBERS_TESSOCR_RecognitionParameters(GROUP, VALUE)                                 \
    VALUE(std::wstring, Language, "Language", L"eng")                                              \
    VALUE(int, RecognitionQuality, "Recognition Quality", 1)

// Options/TESS OCR/Image pre-processing parameters
#define USROPT_MEMBERS_TESSOCR_ImagePreprocessing(GROUP, VALUE)                                    \
    VALUE(bool, OSD, "Orientation and Script Detection", true)                                     \
    VALUE(bool, Deskew, "Deskew", true)                                                            \
    VALUE(bool, RotatePage, "Rotate Page", true)                                                   \
    VALUE(bool, DetectTextOrientation, "Detect Text Orientation", true)

// Options/TESS OCR/Formatting parameters
#define USROPT_MEMBERS_TESSOCR_FormattingParameters(GROUP, VALUE)                                  \
    VALUE(UsersPreferences::RecognizePDFType, PDFType, "PDF Type", 2)                              \
    VALUE(int, OutputQuality, "Output Quality", 1)

// Options/Spelling
#define USROPT_MEMBERS_Spelling(GROUP, VALUE)                                                      \
    VALUE(bool, CheckSpellingEnabled, "Check spelling while typing", true)                         \
    VALUE(bool, CheckSpellingTextFieldFormEnabled, "Check spelling in text field form", true)      \
    VALUE(int, PreferableSpellingEngine, "Preferable spelling engine ( 0 - windows, 1 - hunspell)", 0) \
    VALUE(int, MinimalWordsToNotify, "Min number of words in spellcheck to warn user", 10)         \
    GROUP(SpellingUnderline, "Spelling Underline", Spelling_SpellingUnderline)                     \
    GROUP(SpellingLanguage, "Spelling Language", Spelling_SpellingLanguage)

// Options/Spelling/Spelling Underline
#define USROPT_MEMBERS_Spelling_SpellingUnderline(GROUP, VALUE)                                    \
    VALUE(std::wstring, SpellingUnderlineColor, "Spelling Underline Color", L"#FF0F0F")            \
    VALUE(float, SpellingLineWidth, "Spelling Underline Width", 1.0f)                              \
    VALUE(float, SpellingLineDelta, "Spelling Underline Delta", 2.0f)                              \
    VALUE(float, SpellingLinePeriod, "Spelling Underline Period", 4.0f)

// Options/Spelling/Spelling Language
#define USROPT_MEMBERS_Spelling_SpellingLanguage(GROUP, VALUE)                                     \
    VALUE(std::wstring, HunspellPrefferedLanguage, "Hunspell Preferred Language", L"en-US")        \
    VALUE(std::wstring, WinApiPrefferedLanguage, "WinApi Preferred Language", L"en")               \
    VALUE(bool, AutomaticLanguageDetectionEnabled, "Detect language automatically", false)

// clang-format on
