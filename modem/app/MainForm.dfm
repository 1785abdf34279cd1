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
  object SkinData1: TSkinData
    Active = True
    DisableTag = 99
    SkinControls = [xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcTrackBar, xcSystemMenu]
    Options = [xoPreview, xoToolbarBK]
    SkinFormtype = sfMainform
    MenuUpdate = True
    MenuMerge = False
  end
  object SkinStore1: TSkinStore
    Store = <
      item
        Name = 'SkinItem0'
        DataStream = {}
      end>
  end
  object BModem: TSpeedButton
    Left = 4
    Top = 4
    Width = 80
    Height = 40
    GroupIndex = 1
    Down = True
    Hint = 'Modem'
    ShowHint = True
    OnClick = BModemClick
  end
  object BSMS: TSpeedButton
    Left = 86
    Top = 4
    Width = 80
    Height = 40
    GroupIndex = 1
    Hint = 'SMS'
    ShowHint = True
    OnClick = BSMSClick
  end
  object BCallM: TSpeedButton
    Left = 168
    Top = 4
    Width = 80
    Height = 40
    GroupIndex = 1
    Hint = 'Call'
    ShowHint = True
    OnClick = BCallMClick
  end
  object BPBM: TSpeedButton
    Left = 250
    Top = 4
    Width = 80
    Height = 40
    GroupIndex = 1
    Hint = 'PhoneBook'
    ShowHint = True
    OnClick = BPBMClick
  end
  object ISignal: TImage
    Left = 342
    Top = 6
    Width = 36
    Height = 36
    Center = True
  end
  object ISMS: TImage
    Left = 384
    Top = 6
    Width = 36
    Height = 36
    Center = True
  end
  object PM: TPanel
    Left = 0
    Top = 48
    Width = 424
    Height = 306
    BevelOuter = bvNone
    object LTimeTitle: TLabel
      Left = 16
      Top = 12
      Caption = 'Time:'
    end
    object LTime: TLabel
      Left = 96
      Top = 12
      Caption = '00:00:00'
    end
    object LSpeedTitle: TLabel
      Left = 16
      Top = 32
      Caption = 'Speed:'
    end
    object LSpeed: TLabel
      Left = 96
      Top = 32
      Caption = '0'
    end
    object LSpeedUnit: TLabel
      Left = 160
      Top = 32
      Caption = 'bps'
    end
    object LSendTitle: TLabel
      Left = 230
      Top = 12
      Caption = 'Send:'
    end
    object LSend: TLabel
      Left = 310
      Top = 12
      Caption = '0'
    end
    object LSendUnit: TLabel
      Left = 370
      Top = 12
      Caption = 'bytes'
    end
    object LRvdTitle: TLabel
      Left = 230
      Top = 32
      Caption = 'Received:'
    end
    object LRvd: TLabel
      Left = 310
      Top = 32
      Caption = '0'
    end
    object LRvdUnit: TLabel
      Left = 370
      Top = 32
      Caption = 'bytes'
    end
    object LReport: TLabel
      Left = 16
      Top = 56
      Caption = 'Status Report:'
    end
    object MDR: TMemo
      Left = 12
      Top = 72
      Width = 400
      Height = 180
      ReadOnly = True
      ScrollBars = ssVertical
      WordWrap = False
      TabOrder = 0
    end
    object BDial: TButton
      Left = 12
      Top = 262
      Width = 100
      Height = 32
      Caption = 'Dial'
      Enabled = False
      TabOrder = 1
    end
    object BSet: TButton
      Left = 120
      Top = 262
      Width = 100
      Height = 32
      Caption = 'Setting'
      TabOrder = 2
    end
    object PNet: TPanel
      Left = 12
      Top = 56
      Width = 400
      Height = 196
      TabOrder = 3
      Visible = False
      object Image3: TImage
        Left = 372
        Top = 4
        Width = 20
        Height = 20
        Center = True
      end
      object LUN: TLabel
        Left = 24
        Top = 28
        Caption = 'UserName'
      end
      object EUN: TEdit
        Left = 120
        Top = 24
        Width = 200
        TabOrder = 4
      end
      object LPWD: TLabel
        Left = 24
        Top = 60
        Caption = 'Password'
      end
      object EPWD: TEdit
        Left = 120
        Top = 56
        Width = 200
        PasswordChar = '*'
        TabOrder = 5
      end
      object LNUM: TLabel
        Left = 24
        Top = 92
        Caption = 'Number'
      end
      object ENUM: TEdit
        Left = 120
        Top = 88
        Width = 200
        TabOrder = 6
      end
      object LAPN: TLabel
        Left = 24
        Top = 124
        Caption = 'APN'
      end
      object EAPN: TEdit
        Left = 120
        Top = 120
        Width = 200
        TabOrder = 7
      end
      object BSave: TButton
        Left = 120
        Top = 160
        Width = 64
        Height = 25
        Caption = 'Save'
        Enabled = False
        TabOrder = 8
      end
      object BDef: TButton
        Left = 188
        Top = 160
        Width = 64
        Height = 25
        Caption = 'Default'
        Enabled = False
        TabOrder = 9
      end
      object BBack: TButton
        Left = 256
        Top = 160
        Width = 64
        Height = 25
        Caption = 'Back'
        TabOrder = 10
      end
    end
  end
  object PS: TPanel
    Left = 0
    Top = 48
    Width = 424
    Height = 306
    BevelOuter = bvNone
    Visible = False
    object CBNum: TComboBox
      Left = 12
      Top = 6
      Width = 400
      Height = 25
      Style = csSimple
      Font.Color = clGreen
      Font.Style = [fsBold]
      PopupMenu = PMCBNum
      TabOrder = 0
    end
    object MM: TMemo
      Left = 12
      Top = 36
      Width = 400
      Height = 200
      MaxLength = 160
      Font.Style = [fsBold]
      TabOrder = 1
    end
    object LBNameS: TListBox
      Left = 12
      Top = 36
      Width = 200
      Height = 120
      TabOrder = 2
      Visible = False
    end
    object LSMS: TLabel
      Left = 12
      Top = 244
      Caption = '160'
    end
    object BMClear: TButton
      Left = 12
      Top = 266
      Width = 92
      Height = 30
      Caption = 'Clear Text'
      TabOrder = 3
    end
    object BMSend: TButton
      Left = 110
      Top = 266
      Width = 92
      Height = 30
      Caption = 'Send'
      Enabled = False
      TabOrder = 4
    end
    object BMSave: TButton
      Left = 208
      Top = 266
      Width = 92
      Height = 30
      Caption = 'Save'
      TabOrder = 5
    end
    object BBox: TButton
      Left = 306
      Top = 266
      Width = 106
      Height = 30
      Caption = 'View MessageBox'
      OnClick = BBoxClick
      TabOrder = 6
    end
    object PCSMS: TPageControl
      Left = 0
      Top = 0
      Width = 424
      Height = 306
      PopupMenu = PMSMS
      TabOrder = 7
      Visible = False
      OnChange = PCSMSChange
      object TSIB: TTabSheet
        Caption = 'Inbox'
        object DBGIB: TDBGridGx
          Align = alClient
          PopupMenu = PMSMS
        end
      end
      object TSOB: TTabSheet
        Caption = 'Outbox'
        object DBGOB: TDBGridGx
          Align = alClient
          PopupMenu = PMSMS
        end
      end
      object TSSB: TTabSheet
        Caption = 'Sentbox'
        object DBGSB: TDBGridGx
          Align = alClient
          PopupMenu = PMSMS
        end
      end
      object TSTemp: TTabSheet
        Caption = 'Template'
        object DBGT: TDBGridGx
          Align = alClient
        end
      end
    end
    object PSMS: TPanel
      Left = 4
      Top = 26
      Width = 416
      Height = 276
      TabOrder = 8
      Visible = False
      object IReadClose: TImage
        Left = 388
        Top = 4
        Width = 20
        Height = 20
        Center = True
      end
      object LMName: TLabel
        Left = 16
        Top = 16
        Caption = 'Name'
      end
      object EMName: TEdit
        Left = 80
        Top = 12
        Width = 280
        ReadOnly = True
        TabOrder = 9
      end
      object LMNum: TLabel
        Left = 16
        Top = 44
        Caption = 'Number'
      end
      object EMNum: TEdit
        Left = 80
        Top = 40
        Width = 280
        ReadOnly = True
        TabOrder = 10
      end
      object LMText: TLabel
        Left = 16
        Top = 72
        Caption = 'Text'
      end
      object MMText: TMemo
        Left = 80
        Top = 68
        Width = 280
        Height = 150
        ReadOnly = True
        TabOrder = 11
      end
      object BIR: TButton
        Left = 80
        Top = 232
        Width = 88
        Height = 30
        Caption = 'Reply'
        TabOrder = 12
      end
      object BIF: TButton
        Left = 176
        Top = 232
        Width = 88
        Height = 30
        Caption = 'Forward'
        TabOrder = 13
      end
      object BIB: TButton
        Left = 272
        Top = 232
        Width = 88
        Height = 30
        Caption = 'Back'
        TabOrder = 14
      end
    end
    object PTEMP: TPanel
      Left = 4
      Top = 26
      Width = 416
      Height = 276
      TabOrder = 15
      Visible = False
      object ITempClose: TImage
        Left = 388
        Top = 4
        Width = 20
        Height = 20
        Center = True
      end
      object LTempTitle: TLabel
        Left = 16
        Top = 12
        Caption = 'Template'
      end
      object MTemp: TMemo
        Left = 16
        Top = 30
        Width = 368
        Height = 190
        MaxLength = 160
        TabOrder = 16
      end
      object LTEMP: TLabel
        Left = 16
        Top = 232
        Caption = '160'
      end
      object BTE: TButton
        Left = 120
        Top = 232
        Width = 84
        Height = 30
        Caption = 'Edit'
        TabOrder = 17
      end
      object BTC: TButton
        Left = 208
        Top = 232
        Width = 84
        Height = 30
        Caption = 'Copy'
        TabOrder = 18
      end
      object BTB: TButton
        Left = 296
        Top = 232
        Width = 84
        Height = 30
        Caption = 'Back'
        TabOrder = 19
      end
    end
  end
  object PC: TPanel
    Left = 0
    Top = 48
    Width = 424
    Height = 306
    BevelOuter = bvNone
    Visible = False
    object ETitle: TEdit
      Left = 12
      Top = 6
      Width = 400
      ReadOnly = True
      Font.Color = clGreen
      Font.Style = [fsBold]
      TabOrder = 0
    end
    object EDNum: TRichEdit
      Left = 12
      Top = 32
      Width = 400
      Height = 40
      Font.Name = 'Arial'
      Font.Height = -24
      ReadOnly = True
      ScrollBars = ssVertical
      WordWrap = False
      TabOrder = 1
    end
    object BD1: TButton
      Left = 12
      Top = 80
      Width = 64
      Height = 28
      Caption = '1'
      TabOrder = 2
    end
    object BD2: TButton
      Left = 80
      Top = 80
      Width = 64
      Height = 28
      Caption = '2'
      TabOrder = 3
    end
    object BD3: TButton
      Left = 148
      Top = 80
      Width = 64
      Height = 28
      Caption = '3'
      TabOrder = 4
    end
    object BD4: TButton
      Left = 12
      Top = 112
      Width = 64
      Height = 28
      Caption = '4'
      TabOrder = 5
    end
    object BD5: TButton
      Left = 80
      Top = 112
      Width = 64
      Height = 28
      Caption = '5'
      TabOrder = 6
    end
    object BD6: TButton
      Left = 148
      Top = 112
      Width = 64
      Height = 28
      Caption = '6'
      TabOrder = 7
    end
    object BD7: TButton
      Left = 12
      Top = 144
      Width = 64
      Height = 28
      Caption = '7'
      TabOrder = 8
    end
    object BD8: TButton
      Left = 80
      Top = 144
      Width = 64
      Height = 28
      Caption = '8'
      TabOrder = 9
    end
    object BD9: TButton
      Left = 148
      Top = 144
      Width = 64
      Height = 28
      Caption = '9'
      TabOrder = 10
    end
    object BD11: TButton
      Left = 12
      Top = 176
      Width = 64
      Height = 28
      Caption = '*'
      TabOrder = 11
    end
    object BD10: TButton
      Left = 80
      Top = 176
      Width = 64
      Height = 28
      Caption = '0'
      TabOrder = 12
    end
    object BD12: TButton
      Left = 148
      Top = 176
      Width = 64
      Height = 28
      Caption = '#'
      TabOrder = 13
    end
    object LNameTitle: TLabel
      Left = 226
      Top = 80
      Caption = 'Name (Smart Dial)'
    end
    object LBName: TListBox
      Left = 226
      Top = 96
      Width = 186
      Height = 108
      Sorted = True
      TabOrder = 14
    end
    object BCall: TButton
      Left = 12
      Top = 214
      Width = 64
      Height = 32
      Caption = 'Call'
      Enabled = False
      TabOrder = 15
    end
    object BHang: TButton
      Left = 80
      Top = 214
      Width = 64
      Height = 32
      Caption = 'HangUp'
      Enabled = False
      TabOrder = 16
    end
    object BRecall: TButton
      Left = 148
      Top = 214
      Width = 64
      Height = 32
      Caption = 'ReCall'
      Enabled = False
      TabOrder = 17
    end
    object BClear: TButton
      Left = 226
      Top = 214
      Width = 90
      Height = 32
      Caption = 'BackSpace'
      TabOrder = 18
    end
    object BCH: TButton
      Left = 12
      Top = 256
      Width = 100
      Height = 32
      Caption = 'Call history'
      TabOrder = 19
    end
    object BCV: TButton
      Left = 120
      Top = 256
      Width = 92
      Height = 32
      Caption = 'Volume'
      Enabled = False
      TabOrder = 20
    end
    object IMute: TImage
      Left = 380
      Top = 256
      Width = 32
      Height = 32
      Center = True
      Hint = 'Speaker Mute'
      ShowHint = True
      Visible = False
    end
    object PVol: TPanel
      Left = 226
      Top = 96
      Width = 186
      Height = 108
      TabOrder = 21
      Visible = False
      object LVolDown: TLabel
        Left = 8
        Top = 44
        Caption = 'Vol-'
      end
      object TBVol: TTrackBar
        Left = 36
        Top = 36
        Width = 110
        Height = 32
        Max = 4
        PageSize = 1
        TabOrder = 22
      end
      object LVolUp: TLabel
        Left = 150
        Top = 44
        Caption = 'Vol+'
      end
      object Image1: TImage
        Left = 160
        Top = 4
        Width = 16
        Height = 16
        Center = True
      end
    end
    object PCH: TPanel
      Left = 0
      Top = 0
      Width = 424
      Height = 306
      BevelOuter = bvNone
      TabOrder = 23
      Visible = False
      object PCCH: TPageControl
        Align = alClient
        TabOrder = 24
        OnChange = PCCHChange
        object TSOUT: TTabSheet
          Caption = 'Dialled'
          object DBGOUT: TDBGridGx
            Align = alClient
            PopupMenu = PMCH
          end
        end
        object TSIN: TTabSheet
          Caption = 'Received'
          object DBGIN: TDBGridGx
            Align = alClient
            PopupMenu = PMCH
          end
        end
        object TSMISS: TTabSheet
          Caption = 'Missed'
          object DBGM: TDBGridGx
            Align = alClient
            PopupMenu = PMCH
          end
        end
        object TSSet: TTabSheet
          Caption = 'Setting'
          TabVisible = False
          object GBCW: TGroupBox
            Left = 8
            Top = 6
            Width = 400
            Height = 50
            Caption = 'Call Waiting'
            TabOrder = 25
            object RCWopen: TRadioButton
              Left = 12
              Top = 20
              Width = 90
              Caption = 'Activate'
              TabOrder = 26
            end
            object RCWclose: TRadioButton
              Left = 110
              Top = 20
              Width = 90
              Caption = 'Deactivate'
              Checked = True
              TabOrder = 27
            end
            object BSetCW: TButton
              Left = 316
              Top = 16
              Width = 70
              Height = 25
              Caption = 'Set'
              TabOrder = 28
            end
          end
          object GBForward: TGroupBox
            Left = 8
            Top = 62
            Width = 400
            Height = 200
            Caption = 'Call Forwarding'
            TabOrder = 29
            object BFwdAll: TSpeedButton
              Left = 8
              Top = 18
              Width = 110
              Height = 30
              Caption = 'Forward All'
              GroupIndex = 1
              Down = True
            end
            object BFwdbusy: TSpeedButton
              Left = 8
              Top = 54
              Width = 110
              Height = 30
              Caption = 'When Busy'
              GroupIndex = 1
            end
            object BFwdnoan: TSpeedButton
              Left = 8
              Top = 90
              Width = 110
              Height = 30
              Caption = 'No Answer'
              GroupIndex = 1
            end
            object BFwdnore: TSpeedButton
              Left = 8
              Top = 126
              Width = 110
              Height = 30
              Caption = 'No Response'
              GroupIndex = 1
            end
            object BFwdcancel: TSpeedButton
              Left = 8
              Top = 162
              Width = 110
              Height = 30
              Caption = 'Cancel All'
            end
            object GBFwd: TGroupBox
              Left = 130
              Top = 14
              Width = 262
              Height = 170
              Caption = 'Forward All'
              TabOrder = 30
              object RCFallon: TRadioButton
                Left = 12
                Top = 24
                Width = 90
                Caption = 'Activate'
                TabOrder = 31
              end
              object ETonum: TEdit
                Left = 12
                Top = 52
                Width = 200
                TabOrder = 32
                Visible = False
              end
              object RCFalloff: TRadioButton
                Left = 12
                Top = 84
                Width = 90
                Caption = 'Deactivate'
                Checked = True
                TabOrder = 33
              end
              object BCFSet: TBitBtn
                Left = 150
                Top = 130
                Width = 70
                Height = 28
                Caption = 'Set'
                Hint = '1'
                TabOrder = 34
              end
            end
          end
          object PEngineer: TPanel
            Left = 100
            Top = 100
            Width = 224
            Height = 80
            TabOrder = 36
            Visible = False
            object LMin: TLabel
              Left = 12
              Top = 16
              Caption = 'New MIN:'
            end
            object EMin: TEdit
              Left = 80
              Top = 12
              Width = 120
              MaxLength = 10
              TabOrder = 37
            end
            object Bminok: TButton
              Left = 40
              Top = 44
              Width = 64
              Height = 25
              Caption = 'OK'
              TabOrder = 38
            end
            object BminCan: TButton
              Left = 112
              Top = 44
              Width = 64
              Height = 25
              Caption = 'Cancel'
              TabOrder = 39
            end
          end
        end
      end
      object PCHClose: TPanel
        Left = 400
        Top = 2
        Width = 20
        Height = 20
        BevelOuter = bvNone
        TabOrder = 40
        object ICHClose: TImage
          Left = 0
          Top = 0
          Width = 20
          Height = 20
          Center = True
        end
      end
    end
    object Pwait: TPanel
      Left = 112
      Top = 120
      Width = 200
      Height = 48
      TabOrder = 35
      Visible = False
      object LWait: TLabel
        Left = 60
        Top = 16
        Caption = 'Please wait...'
      end
    end
  end
  object PP: TPanel
    Left = 0
    Top = 48
    Width = 424
    Height = 306
    BevelOuter = bvNone
    Visible = False
    object PCPB: TPageControl
      Align = alClient
      PopupMenu = PMPB
      TabOrder = 0
      OnChange = PCPBChange
      object TSAll: TTabSheet
        Caption = 'All'
        object DBGAll: TDBGridGx
          Align = alClient
          PopupMenu = PMPB
        end
      end
      object TSFa: TTabSheet
        Caption = 'Family'
        object DBGFa: TDBGridGx
          Align = alClient
          PopupMenu = PMPB
        end
      end
      object TSFr: TTabSheet
        Caption = 'Friend'
        object DBGFr: TDBGridGx
          Align = alClient
          PopupMenu = PMPB
        end
      end
      object TSO: TTabSheet
        Caption = 'Office'
        object DBGO: TDBGridGx
          Align = alClient
          PopupMenu = PMPB
        end
      end
    end
    object POp: TPanel
      Left = 4
      Top = 26
      Width = 416
      Height = 276
      TabOrder = 1
      Visible = False
      object IPBClose: TImage
        Left = 388
        Top = 4
        Width = 20
        Height = 20
        Center = True
      end
      object LPBNam: TLabel
        Left = 16
        Top = 16
        Caption = 'Name'
      end
      object PBNam: TEdit
        Left = 90
        Top = 12
        Width = 280
        MaxLength = 50
        TabOrder = 2
      end
      object LPBNum: TLabel
        Left = 16
        Top = 44
        Caption = 'Number'
      end
      object PBNum: TEdit
        Left = 90
        Top = 40
        Width = 280
        MaxLength = 20
        TabOrder = 3
      end
      object LPBA: TLabel
        Left = 16
        Top = 72
        Caption = 'Address'
      end
      object PBA: TMemo
        Left = 90
        Top = 68
        Width = 280
        Height = 56
        MaxLength = 255
        TabOrder = 4
      end
      object LPBG: TLabel
        Left = 16
        Top = 136
        Caption = 'Group'
      end
      object PBG: TComboBox
        Left = 90
        Top = 132
        Width = 150
        Style = csDropDownList
        Items.Strings = (
          'No Group'
          'Family'
          'Friend'
          'Office')
        TabOrder = 5
      end
      object LPBR: TLabel
        Left = 16
        Top = 164
        Caption = 'Remark'
      end
      object PBR: TMemo
        Left = 90
        Top = 160
        Width = 280
        Height = 70
        MaxLength = 255
        TabOrder = 6
      end
      object BPBOp: TButton
        Left = 200
        Top = 242
        Width = 80
        Height = 28
        Caption = 'Edit'
        TabOrder = 7
      end
      object BPBC: TButton
        Left = 290
        Top = 242
        Width = 80
        Height = 28
        Caption = 'Back'
        TabOrder = 8
      end
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
    SizeGrip = False
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
  object TNet: TTimer
    Enabled = False
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
  object PMCBNum: TPopupMenu
    object MDel: TMenuItem
      Caption = 'Delete'
    end
    object MDelA: TMenuItem
      Caption = 'Clear All'
    end
  end
  object PMSMS: TPopupMenu
    object PMRM: TMenuItem
      Caption = 'Read This Message'
    end
    object N1: TMenuItem
      Caption = '-'
    end
    object PSMDelO: TMenuItem
      Caption = 'Delete This Message'
    end
    object PSMDelA: TMenuItem
      Caption = 'Delete All Messages'
    end
    object N2: TMenuItem
      Caption = '-'
      Enabled = False
    end
    object PBack: TMenuItem
      Caption = 'Back To New SMS'
    end
  end
  object PMPB: TPopupMenu
    object PMCall: TMenuItem
      Caption = 'Call'
      OnClick = PMCallClick
    end
    object PMSM: TMenuItem
      Caption = 'Send Message'
      OnClick = PMSMClick
    end
    object PPME: TMenuItem
      Caption = 'Details And Edit'
      Break = mbBarBreak
    end
    object PMAdd: TMenuItem
      Caption = 'Add New Number'
    end
    object PMDelO: TMenuItem
      Caption = 'Delete This Number'
      Break = mbBarBreak
    end
    object PMDelA: TMenuItem
      Caption = 'Delete All Numbers'
    end
  end
  object PMCH: TPopupMenu
    object PCD: TMenuItem
      Caption = 'Call This Number'
    end
    object N3: TMenuItem
      Caption = '-'
    end
    object PCDelO: TMenuItem
      Caption = 'Delete This Record'
    end
    object PCDelA: TMenuItem
      Caption = 'Delete All Records'
    end
    object N4: TMenuItem
      Caption = '-'
    end
    object PMBD: TMenuItem
      Caption = 'Go back to Dial'
    end
  end
end
