object MainForm: TMainForm
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'USB MODEM'
  ClientHeight = 374
  ClientWidth = 424
  Font.Name = 'Tahoma'
  Position = poScreenCenter
  OnClose = FormClose
  OnCreate = FormCreate
  OnShow = FormShow
  object BModem: TButton
    Left = 4
    Top = 4
    Width = 86
    Height = 40
    Caption = 'Modem'
    TabOrder = 0
    OnClick = BModemClick
  end
  object BSMS: TButton
    Left = 92
    Top = 4
    Width = 86
    Height = 40
    Caption = 'SMS'
    TabOrder = 1
    OnClick = BSMSClick
  end
  object BCallM: TButton
    Left = 180
    Top = 4
    Width = 86
    Height = 40
    Caption = 'Call'
    TabOrder = 2
    OnClick = BCallMClick
  end
  object BPBM: TButton
    Left = 268
    Top = 4
    Width = 86
    Height = 40
    Caption = 'PhoneBook'
    TabOrder = 3
    OnClick = BPBMClick
  end
  object ISignal: TImage
    Left = 362
    Top = 6
    Width = 36
    Height = 36
    Center = True
  end
  object ISMS: TImage
    Left = 400
    Top = 14
    Width = 20
    Height = 20
    Center = True
    Visible = False
  end
  object PM: TPanel
    Left = 0
    Top = 48
    Width = 424
    Height = 306
    BevelOuter = bvNone
    TabOrder = 4
    object LTimeTitle: TLabel
      Left = 12
      Top = 10
      Caption = 'Time'
    end
    object LTime: TLabel
      Left = 90
      Top = 10
      Caption = '00:00:00'
    end
    object LSpeedTitle: TLabel
      Left = 12
      Top = 30
      Caption = 'Speed'
    end
    object LSpeed: TLabel
      Left = 90
      Top = 30
      Caption = '0'
    end
    object LSendTitle: TLabel
      Left = 220
      Top = 10
      Caption = 'Sent'
    end
    object LSend: TLabel
      Left = 300
      Top = 10
      Caption = '0'
    end
    object LRvdTitle: TLabel
      Left = 220
      Top = 30
      Caption = 'Received'
    end
    object LRvd: TLabel
      Left = 300
      Top = 30
      Caption = '0'
    end
    object MDR: TMemo
      Left = 12
      Top = 54
      Width = 400
      Height = 196
      ReadOnly = True
      ScrollBars = ssVertical
      WordWrap = False
      TabOrder = 0
    end
    object BDial: TButton
      Left = 12
      Top = 260
      Width = 100
      Height = 32
      Caption = 'Dial'
      Enabled = False
      TabOrder = 1
    end
    object Image3: TImage
      Left = 380
      Top = 260
      Width = 32
      Height = 32
      Center = True
    end
    object PNet: TPanel
      Left = 12
      Top = 54
      Width = 400
      Height = 196
      TabOrder = 2
      Visible = False
      object LUN: TLabel
        Left = 16
        Top = 20
        Caption = 'User name'
      end
      object EUN: TEdit
        Left = 110
        Top = 16
        Width = 200
        TabOrder = 0
      end
      object LPWD: TLabel
        Left = 16
        Top = 52
        Caption = 'Password'
      end
      object EPWD: TEdit
        Left = 110
        Top = 48
        Width = 200
        PasswordChar = '*'
        TabOrder = 1
      end
      object LNUM: TLabel
        Left = 16
        Top = 84
        Caption = 'Number'
      end
      object ENUM: TEdit
        Left = 110
        Top = 80
        Width = 200
        TabOrder = 2
      end
      object LAPN: TLabel
        Left = 16
        Top = 116
        Caption = 'APN'
      end
      object EAPN: TEdit
        Left = 110
        Top = 112
        Width = 200
        TabOrder = 3
      end
      object BSave: TButton
        Left = 110
        Top = 150
        Width = 64
        Caption = 'Save'
        Enabled = False
        TabOrder = 4
      end
      object BDef: TButton
        Left = 180
        Top = 150
        Width = 64
        Caption = 'Default'
        Enabled = False
        TabOrder = 5
      end
      object BBack: TButton
        Left = 250
        Top = 150
        Width = 64
        Caption = 'Back'
        TabOrder = 6
      end
    end
  end
  object PS: TPanel
    Left = 0
    Top = 48
    Width = 424
    Height = 306
    BevelOuter = bvNone
    TabOrder = 5
    Visible = False
    object LBNameS: TListBox
      Left = 12
      Top = 8
      Width = 400
      Height = 25
      TabOrder = 0
    end
    object MM: TMemo
      Left = 12
      Top = 40
      Width = 400
      Height = 208
      MaxLength = 160
      TabOrder = 1
    end
    object LSMS: TLabel
      Left = 12
      Top = 262
      Caption = '160'
    end
    object BMSend: TButton
      Left = 252
      Top = 256
      Width = 76
      Height = 32
      Caption = 'Send'
      Enabled = False
      TabOrder = 2
    end
    object BBox: TButton
      Left = 336
      Top = 256
      Width = 76
      Height = 32
      Caption = 'Box'
      TabOrder = 3
      OnClick = BBoxClick
    end
    object PCSMS: TPageControl
      Left = 0
      Top = 0
      Width = 424
      Height = 306
      TabOrder = 4
      Visible = False
      object TSIB: TTabSheet
        Caption = 'Inbox'
        object GIB: TPanel
          Left = 0
          Top = 0
          Width = 416
          Height = 278
          Align = alClient
          BevelOuter = bvLowered
          Caption = 'Data grid stand-in: QIB'
          TabOrder = 0
        end
      end
      object TSOB: TTabSheet
        Caption = 'Outbox'
        object GOB: TPanel
          Left = 0
          Top = 0
          Width = 416
          Height = 278
          Align = alClient
          BevelOuter = bvLowered
          Caption = 'Data grid stand-in: QOB'
          TabOrder = 0
        end
      end
      object TSSB: TTabSheet
        Caption = 'Sent'
        object GSB: TPanel
          Left = 0
          Top = 0
          Width = 416
          Height = 278
          Align = alClient
          BevelOuter = bvLowered
          Caption = 'Data grid stand-in: QSB'
          TabOrder = 0
        end
      end
      object TSTemp: TTabSheet
        Caption = 'Templates'
        object GTemp: TPanel
          Left = 0
          Top = 0
          Width = 416
          Height = 278
          Align = alClient
          BevelOuter = bvLowered
          Caption = 'Data grid stand-in: QTEMP'
          TabOrder = 0
        end
      end
    end
  end
  object PC: TPanel
    Left = 0
    Top = 48
    Width = 424
    Height = 306
    BevelOuter = bvNone
    TabOrder = 6
    Visible = False
    object ETitle: TEdit
      Left = 12
      Top = 8
      Width = 400
      ReadOnly = True
      TabOrder = 0
    end
    object EDNum: TRichEdit
      Left = 12
      Top = 38
      Width = 400
      Height = 36
      TabOrder = 1
    end
    object LBName: TListBox
      Left = 12
      Top = 82
      Width = 400
      Height = 150
      TabOrder = 2
    end
    object BCall: TButton
      Left = 12
      Top = 244
      Width = 72
      Height = 32
      Caption = 'Call'
      Enabled = False
      TabOrder = 3
    end
    object BHang: TButton
      Left = 92
      Top = 244
      Width = 72
      Height = 32
      Caption = 'Hang'
      Enabled = False
      TabOrder = 4
    end
    object BRecall: TButton
      Left = 172
      Top = 244
      Width = 72
      Height = 32
      Caption = 'Recall'
      Enabled = False
      TabOrder = 5
    end
    object BClear: TButton
      Left = 252
      Top = 244
      Width = 72
      Height = 32
      Caption = 'Clear'
      TabOrder = 6
    end
    object BCV: TButton
      Left = 332
      Top = 244
      Width = 48
      Height = 32
      Caption = 'Vol'
      Enabled = False
      TabOrder = 7
    end
    object IMute: TImage
      Left = 384
      Top = 244
      Width = 28
      Height = 32
      Center = True
      Visible = False
    end
    object ETonum: TEdit
      Left = 12
      Top = 282
      Width = 160
      TabOrder = 8
      Visible = False
    end
    object PVol: TPanel
      Left = 300
      Top = 82
      Width = 112
      Height = 150
      TabOrder = 9
      Visible = False
      object TBVol: TTrackBar
        Left = 40
        Top = 8
        Width = 32
        Height = 134
        Max = 4
        Orientation = trVertical
        TabOrder = 0
      end
    end
    object PCH: TPanel
      Left = 0
      Top = 0
      Width = 424
      Height = 306
      BevelOuter = bvNone
      TabOrder = 10
      Visible = False
      object PCCH: TPageControl
        Left = 0
        Top = 0
        Width = 424
        Height = 306
        Align = alClient
        TabOrder = 0
        object TSIN: TTabSheet
          Caption = 'Received'
          object GIN: TPanel
            Left = 0
            Top = 0
            Width = 416
            Height = 278
            Align = alClient
            BevelOuter = bvLowered
            Caption = 'Data grid stand-in: QIN'
            TabOrder = 0
          end
        end
        object TSOUT: TTabSheet
          Caption = 'Dialled'
          object GOUT: TPanel
            Left = 0
            Top = 0
            Width = 416
            Height = 278
            Align = alClient
            BevelOuter = bvLowered
            Caption = 'Data grid stand-in: QOUT'
            TabOrder = 0
          end
        end
        object TSMISS: TTabSheet
          Caption = 'Missed'
          object GMISS: TPanel
            Left = 0
            Top = 0
            Width = 416
            Height = 278
            Align = alClient
            BevelOuter = bvLowered
            Caption = 'Data grid stand-in: QMISS'
            TabOrder = 0
          end
        end
        object TSSet: TTabSheet
          Caption = 'Services'
          TabVisible = False
        end
      end
    end
    object Pwait: TPanel
      Left = 112
      Top = 120
      Width = 200
      Height = 48
      Caption = 'Please wait...'
      TabOrder = 11
      Visible = False
    end
  end
  object PP: TPanel
    Left = 0
    Top = 48
    Width = 424
    Height = 306
    BevelOuter = bvNone
    TabOrder = 7
    Visible = False
    object GPB: TPanel
      Left = 12
      Top = 8
      Width = 400
      Height = 290
      BevelOuter = bvLowered
      Caption = 'Data grid stand-in: QAll'
      TabOrder = 0
    end
  end
  object StatusBar: TStatusBar
    Panels = <
      item
        Bevel = pbRaised
        Width = 150
      end
      item
        Bevel = pbRaised
        Width = 50
      end>
    SimplePanel = False
  end
  object TAuto: TTimer
    Enabled = False
    Interval = 3000
    OnTimer = TAutoTimer
  end
  object TMain: TTimer
    Enabled = False
    Interval = 250
    OnTimer = TMainTimer
  end
  object TCall: TTimer
    Enabled = False
    OnTimer = TCallTimer
  end
  object MediaPlayer: TMediaPlayer
    OnNotify = MediaPlayerNotify
  end
  object QAll: TADOQuery
  end
  object QIB: TADOQuery
  end
  object QOB: TADOQuery
  end
  object QSB: TADOQuery
  end
  object QTEMP: TADOQuery
  end
  object QIN: TADOQuery
  end
  object QOUT: TADOQuery
  end
  object QMISS: TADOQuery
  end
  object DS: TDataSource
  end
  object DSSMS: TDataSource
  end
  object DSC: TDataSource
  end
end
