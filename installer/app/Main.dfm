object FMain: TFMain
  Left = 0
  Top = 0
  Width = 535
  Height = 324
  BorderIcons = [biSystemMenu, biMinimize]
  Caption = 'Norra Installer'
  Color = clNavy
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  PixelsPerInch = 96
  Position = poDesktopCenter
  OnClose = FormClose
  OnShow = FormShow
  object PageMain: TKvPageControl
    Left = 0
    Top = 59
    Width = 527
    Height = 231
    ActivePage = Path
    Align = alBottom
    BackgroundColor = clSilver
    Color = 16119543
    UseColoredTabs = True
    FlatColor = 10263441
    ParentBackgroundColor = False
    ParentColor = False
    ShowShadow = False
    TabColors.HighlightBar = 1350640
    FixedDimension = 0
    object Path: TKvTabSheet
      Caption = 'Path'
      Color = clWhite
      TabVisible = False
      object Label1: TLabel
        Left = 56
        Top = 34
        Width = 97
        Height = 13
        AutoSize = False
        Caption = 'Install To:'
        Color = clWindow
        Font.Name = 'Arial'
        Font.Height = -13
        ParentFont = False
      end
      object EPath: TKvEdit
        Left = 56
        Top = 56
        Width = 313
        Height = 21
        Color = clWhite
        FocusColor = clGreen
        ReadOnly = True
        ReadOnlyColor = clWhite
        ReadOnlyColorOnFocus = True
        TabOrder = 0
      end
      object BBrowse: TKvBitBtn
        Left = 384
        Top = 51
        Width = 81
        Height = 27
        Caption = '&Browse'
        Color = clMoneyGreen
        HotTrack = True
        ImageIndex = 0
        Images = ImgLogo
        TextStyle = tsRaised
        TabOrder = 1
        OnClick = BBrowseClick
      end
      object BNext: TKvBitBtn
        Left = 136
        Top = 112
        Width = 89
        Height = 41
        Caption = '&Next'
        Color = clMoneyGreen
        HotTrack = True
        ImageIndex = 1
        Images = ImgLogo
        TextStyle = tsRaised
        TabOrder = 2
        OnClick = BNextClick
      end
      object BCancel: TKvBitBtn
        Left = 288
        Top = 111
        Width = 89
        Height = 41
        Caption = '&Cancel'
        Color = clMoneyGreen
        HotTrack = True
        ImageIndex = 2
        Images = ImgLogo
        TextStyle = tsRaised
        TabOrder = 3
        OnClick = BCancelClick
      end
    end
    object Wait: TKvTabSheet
      Caption = 'Progress'
      Color = clWhite
      TabVisible = False
      object LED: TKvLEDDisplay
        Left = 72
        Top = 31
        Width = 385
        Height = 23
        ScrollDelay = 50
      end
      object Progress: TKvProgressBar
        Left = 72
        Top = 56
        Width = 385
        BarStyle = bsGradient
        BarColor = clGradientActiveCaption
        BarColorStop = clDefault
        BackColorStop = clMedGray
        BorderWidth = 0
        InteriorOffset = 0
        ShowPercent = False
        Percent = 0
        PartsComplete = 0
        TotalParts = 0
        Font.Color = clGradientActiveCaption
      end
      object LOS: TKvLabel
        Left = 72
        Top = 88
        Width = 385
        Height = 13
        AutoSize = False
        Caption = 'Current Windows System is Vista,please install drivers manually.'
        Visible = False
      end
      object Run: TKvCheckBox
        Left = 177
        Top = 112
        Width = 265
        Height = 17
        Caption = '&Run client software immediately'
        State = cbUnchecked
        TabOrder = 1
      end
      object BFinish: TKvBitBtn
        Left = 85
        Top = 144
        Width = 97
        Height = 41
        Caption = '&Finish'
        Color = clMoneyGreen
        Enabled = False
        HotTrack = True
        ImageIndex = 3
        Images = ImgLogo
        TextStyle = tsRaised
        TabOrder = 2
        OnClick = BFinishClick
      end
      object BHelp: TKvBitBtn
        Left = 218
        Top = 144
        Width = 97
        Height = 41
        Caption = '&Help'
        Color = clMoneyGreen
        HotTrack = True
        ImageIndex = 0
        Images = ImgLogo
        TextStyle = tsRaised
        TabOrder = 3
        OnClick = BHelpClick
      end
      object PCancel: TKvBitBtn
        Left = 349
        Top = 144
        Width = 97
        Height = 41
        Caption = '&Cancel'
        Color = clMoneyGreen
        HotTrack = True
        ImageIndex = 2
        Images = ImgLogo
        TextStyle = tsRaised
        TabOrder = 0
        OnClick = PCancelClick
      end
    end
  end
  object ImgLogo: TImageList
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 100
    OnTimer = Timer1Timer
  end
  object Timer2: TTimer
    Enabled = False
    Interval = 60000
    OnTimer = Timer2Timer
  end
end
