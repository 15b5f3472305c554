#pragma once

// Ids of the numbered texts that the core uses by name. The texts live in the
// string table; 5000 and above are this program's own additions.
namespace vexa::Str {

constexpr int CopyIntoAppletFolderFailed = 1311;
constexpr int FieldRequired = 1164;
constexpr int CreateProcessFailed = 1542;
constexpr int ProjectOpenWrongApplet = 1543;
constexpr int ProjectSaveFailed = 1544;
constexpr int ReallyExit = 1545;
constexpr int PublishNotice = 1637;
constexpr int PublishLink = 1638;
constexpr int Publish = 1639;
constexpr int AppletInfoCaption = 1679;
constexpr int TextFilter = 1680;
constexpr int ImageFilter = 1681;
constexpr int GifFilter = 1682;
constexpr int OtherTarget = 1683;
constexpr int ErrorReadingScrollText = 1685;
constexpr int ErrorWritingScrollText = 1686;
constexpr int ErrorWritingPreview = 1687;
constexpr int NextCaption = 1691;
constexpr int ErrorReadingImageSize = 1688;
constexpr int WrongImageFormat = 1689;
constexpr int ErrorCopyingFile = 1690;
constexpr int ProjectFilter = 1693;
constexpr int ProjectOpenBadFormat = 1694;
constexpr int ProjectOldFormat = 1695;
constexpr int IncorrectVexaFont = 4034;

constexpr int SettingsNotWritable = 5001;
constexpr int FileCopyFailed = 5002;
constexpr int UnsafeFileName = 5003;
constexpr int BrowserMissing = 5004;

} // namespace vexa::Str
