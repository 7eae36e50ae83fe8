object AboutForm: TAboutForm
  Left = 0
  Top = 0
  AutoScroll = False
  BorderStyle = bsNone
  ClientHeight = 323
  ClientWidth = 305
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poMainFormCenter
  OnClick = FormClick
  OnCreate = AbtFormCreate
  OnPaint = FormPaint
  PixelsPerInch = 96
  TextHeight = 13
  object Label14: TLabel
    Left = 4
    Top = 14
    Width = 280
    Height = 43
    Caption = 'Marrowind, Inc.'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clNavy
    Font.Height = -37
    Font.Name = 'Times New Roman'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label13: TLabel
    Left = 6
    Top = 16
    Width = 280
    Height = 43
    Caption = 'Marrowind, Inc.'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clRed
    Font.Height = -37
    Font.Name = 'Times New Roman'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label15: TLabel
    Left = 16
    Top = 112
    Width = 200
    Height = 29
    Caption = 'Quorvane v 2.0.1'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clAqua
    Font.Height = -24
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object SecretPanel1: TSecretPanel
    Left = 8
    Top = 202
    Width = 146
    Height = 19
    Active = True
    Alignment = taLeftJustify
    BevelOuter = bvNone
    Color = clBlack
    Cycled = True
    GlyphLayout = glGlyphBottom
    Interval = 50
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clLime
    Font.Height = -11
    Font.Name = 'Verdana'
    Font.Style = []
    Lines.Strings = (
      'Thanks to everyone who sent us scripts, translations and ideas!')
    ParentColor = False
    ParentFont = False
    ScrollDirection = sdHorizontal
  end
  object HyperLink: TLabel
    Left = 157
    Top = 205
    Width = 140
    Height = 13
    Cursor = crHandPoint
    Caption = 'http://www.example.com/'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlue
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold, fsUnderline]
    ParentFont = False
    Transparent = True
    OnClick = HyperLinkClick
  end
  object Bevel1: TBevel
    Left = 8
    Top = 224
    Width = 293
    Height = 2
    Shape = bsTopLine
  end
  object Label9: TLabel
    Left = 8
    Top = 232
    Width = 196
    Height = 13
    Caption = 'Operating System:'
    Transparent = True
  end
  object Label10: TLabel
    Left = 8
    Top = 248
    Width = 196
    Height = 13
    Caption = 'OS Version:'
    Transparent = True
  end
  object Label11: TLabel
    Left = 8
    Top = 264
    Width = 196
    Height = 13
    Caption = 'OS Build #:'
    Transparent = True
  end
  object Label12: TLabel
    Left = 8
    Top = 280
    Width = 196
    Height = 13
    Caption = 'System Version Info:'
    Transparent = True
  end
  object Label7: TLabel
    Left = 8
    Top = 296
    Width = 196
    Height = 13
    Caption = 'Physical Memory Available to Windows:'
    Transparent = True
  end
  object Label8: TLabel
    Left = 8
    Top = 312
    Width = 196
    Height = 13
    Caption = 'Memory in Use:'
    Transparent = True
  end
  object Label1: TLabel
    Left = 208
    Top = 232
    Width = 93
    Height = 13
    Caption = '...'
    Transparent = True
  end
  object Label2: TLabel
    Left = 208
    Top = 248
    Width = 93
    Height = 13
    Caption = '...'
    Transparent = True
  end
  object Label3: TLabel
    Left = 208
    Top = 264
    Width = 93
    Height = 13
    Caption = '...'
    Transparent = True
  end
  object Label4: TLabel
    Left = 208
    Top = 280
    Width = 93
    Height = 13
    Caption = '...'
    Transparent = True
  end
  object Label5: TLabel
    Left = 208
    Top = 296
    Width = 93
    Height = 13
    Caption = '...'
    Transparent = True
  end
  object Label6: TLabel
    Left = 208
    Top = 312
    Width = 93
    Height = 13
    Caption = '...'
    Transparent = True
  end
end
