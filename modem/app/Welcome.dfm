object FW: TFW
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  ClientHeight = 160
  ClientWidth = 300
  Color = clWhite
  Font.Name = 'Tahoma'
  Position = poScreenCenter
  object ISplash: TImage
    Left = 0
    Top = 0
    Width = 300
    Height = 120
    Center = True
  end
  object LInit: TLabel
    Left = 110
    Top = 130
    Caption = 'Initializing...'
  end
end
