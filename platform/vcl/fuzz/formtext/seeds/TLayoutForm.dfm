object LayoutForm: TLayoutForm
  Left = 100
  Top = 80
  BorderStyle = bsSingle
  Caption = 'Layout test'
  ClientHeight = 150
  ClientWidth = 240
  Color = clWindow
  Position = poScreenCenter
  ActiveControl = Second
  OnActivate = FormActivate
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnPaint = FormPaint
  OnResize = FormResize
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object Toolbar: TBox
    Left = 0
    Top = 0
    Width = 240
    Height = 24
    Align = alTop
    Color = clRed
    object Button: TMark
      Left = 2
      Top = 2
      Width = 20
      Height = 20
      Hint = 'Press|Presses the button'
      ShowHint = True
      OnClick = ButtonClick
    end
  end
  object Body: TBox
    Left = 0
    Top = 24
    Width = 240
    Height = 126
    Align = alClient
    object First: TBox
      Left = 8
      Top = 8
      Width = 60
      Height = 20
      TabOrder = 1
      TabStop = True
    end
    object Second: TBox
      Left = 8
      Top = 40
      Width = 60
      Height = 20
      TabOrder = 0
      TabStop = True
    end
  end
  object Clock: TTimer
    Enabled = False
    Interval = 250
    OnTimer = ClockTimer
  end
end
