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

// Picture, font and texture pickers of the parameter pages.
constexpr int FrameNumberMissing = 1546;
constexpr int SelectSeveralFrames = 1547;
constexpr int BumpSizesDiffer = 1548;
constexpr int CubeImageSize = 1549;
constexpr int ImageSizesDiffer = 1550;
constexpr int MaxSixImages = 1551;
constexpr int BackgroundSizeWrong = 1553;
constexpr int BackgroundSizeWrongResolution = 1554;
constexpr int NotPowerOfTwo = 1555;
constexpr int PowerOfTwoFaster = 1556;
constexpr int Not256x256 = 1557;
constexpr int NonStandardFonts = 1558;
constexpr int OnlyGifTextures = 1559;
constexpr int TextureSizeWrong = 1560;
constexpr int CustomObjectsMessage = 1640;
constexpr int CustomObjectsLink = 1641;
constexpr int CustomObjectsTitle = 1642;
constexpr int VexaFontFilter = 4033;
constexpr int SoundFilter = 4059;

// Page validation (the range messages are numbers in its rule table).
constexpr int FontMinNotBelowMax = 1568;
constexpr int FireCutAboveStart = 1580;
constexpr int InvalidValue = 1582;
constexpr int MenuNoBackItem = 1585;
constexpr int MenuInvalidList = 1592;
constexpr int MenuItemWithoutIcon = 1593;
constexpr int MenuInvalidTree = 1594;
constexpr int InsertAtLeastOne = 1595;
constexpr int RootNotRemovable = 1562;
constexpr int BackNotAllowed = 1563;
constexpr int WheelTextureSize = 1565;
constexpr int FolderIconSize = 1566;
constexpr int LeafIconSize = 1567;
constexpr int MirrorNeedsObjects = 1607;
constexpr int ValueAboveLimit = 1631;
constexpr int ValueBelowLimit = 4015;
constexpr int WrongEmailAddress = 4036;

constexpr int SettingsNotWritable = 5001;
constexpr int FileCopyFailed = 5002;
constexpr int UnsafeFileName = 5003;
constexpr int BrowserMissing = 5004;
constexpr int FrameSequenceGap = 5005;
constexpr int FrameSequenceForeign = 5006;
constexpr int FileWriteFailed = 5007;
constexpr int ProjectTooLarge = 5008;
constexpr int ProjectUnknownApplet = 5009;
constexpr int AppletFolderNotMade = 5010;
constexpr int MenuCut = 5011;
constexpr int MenuTooDeep = 5012;
constexpr int MenuTooManyItems = 5013;
constexpr int StoredValueCut = 5014;
constexpr int PublishFileMissing = 5015;
constexpr int AppletFilesAdvice = 5016;
constexpr int SamplePageMissing = 5017;
constexpr int ScrollTextOutsideCharset = 5018;
constexpr int SettingsNotSavedYet = 5019;
constexpr int SettingsSavedAgain = 5020;
constexpr int SettingsSetAside = 5021;
constexpr int SettingsUnsavedAtExit = 5022;
constexpr int SaveProjectAtExit = 5023;
constexpr int ParameterRange = 5024;

// The picture list and the frame sequence (5100 to 5119).
constexpr int PictureNameTaken = 5100;
constexpr int FirstPictureUnreadable = 5101;
constexpr int FrameNameNotNumbered = 5102;
constexpr int FrameNotAPicture = 5103;
constexpr int FramesDiffer = 5104;

// The applet viewer and the moving picture (5120 to 5139). 5140 to 5149 are the tooltips of
// the controls that start them, found by their control ids.
constexpr int NoJavaRuntime = 5120;
constexpr int ViewerNotInstalled = 5121;
constexpr int JavaTooOld = 5122;
constexpr int AppletCodeAdvice = 5123;
constexpr int ViewerSilentFailure = 5124;
constexpr int ViewerTimedOut = 5125;
constexpr int MovingPictureFailed = 5126;
constexpr int ViewerCannotStart = 5127;
constexpr int ProcessSandboxOff = 5128;
constexpr int NoSandboxAtAll = 5129;
constexpr int ViewerCrashed = 5130;
constexpr int DocumentRefused = 5131;
constexpr int DocumentsHeldBack = 5132;
constexpr int DocumentNotOpened = 5133;
constexpr int JavaHomeHasNoJava = 5134;
constexpr int EffectWithoutAppletCode = 5135;

} // namespace vexa::Str
