object FW: TFW
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  ClientHeight = 160
  ClientWidth = 320
  Color = clWhite
  Font.Name = 'Tahoma'
  Position = poScreenCenter
  object ISplash: TImage
    Left = 0
    Top = 0
    Width = 320
    Height = 160
  end
  object LInit: TLabel
    Left = 128
    Top = 137
    Caption = 'Initializing...'
    Transparent = True
  end
end
