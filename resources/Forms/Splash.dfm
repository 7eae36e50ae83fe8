object SplashForm: TSplashForm
  Left = 0
  Top = 0
  AutoScroll = False
  BorderStyle = bsNone
  ClientHeight = 220
  ClientWidth = 451
  Color = clBlack
  FormStyle = fsStayOnTop
  Position = poDesktopCenter
  OnCreate = FormCreate
  OnPaint = FormPaint
  PixelsPerInch = 96
  TextHeight = 13
  object Label14: TLabel
    Left = 11
    Top = 15
    Width = 340
    Height = 55
    Caption = 'Marrowind, Inc.'
    Font.Color = clNavy
    Font.Height = -48
    Font.Name = 'Times New Roman'
    Font.Style = [fsBold, fsItalic]
    ParentFont = False
    Transparent = True
  end
  object Label13: TLabel
    Left = 13
    Top = 17
    Width = 340
    Height = 55
    Caption = 'Marrowind, Inc.'
    Font.Color = clRed
    Font.Height = -48
    Font.Name = 'Times New Roman'
    Font.Style = [fsBold, fsItalic]
    ParentFont = False
    Transparent = True
  end
  object Label2: TLabel
    Left = 8
    Top = 85
    Width = 260
    Height = 55
    Caption = 'Quorvane 2'
    Font.Color = clBlue
    Font.Height = -48
    Font.Name = 'Arial'
    Font.Style = [fsBold, fsItalic]
    ParentFont = False
    Transparent = True
  end
  object Label3: TLabel
    Left = 11
    Top = 87
    Width = 260
    Height = 55
    Caption = 'Quorvane 2'
    Font.Color = clYellow
    Font.Height = -48
    Font.Name = 'Arial'
    Font.Style = [fsBold, fsItalic]
    ParentFont = False
    Transparent = True
  end
  object ProgressBar1: TProgressBar
    Left = 0
    Top = 152
    Width = 451
    Height = 12
    Min = 0
    Max = 8
    Step = 8
    ShowHint = False
    TabOrder = 0
  end
end
