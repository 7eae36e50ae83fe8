object ZoomForm: TZoomForm
  Left = 0
  Top = 0
  AutoScroll = False
  BorderStyle = bsNone
  ClientHeight = 177
  ClientWidth = 150
  Color = clBtnFace
  FormStyle = fsStayOnTop
  OnActivate = FormActivate
  OnClick = FormClick
  OnCreate = FormCreate
  OnDblClick = FormDblClick
  OnDestroy = FormDestroy
  OnMouseDown = FormMouseDown
  PixelsPerInch = 96
  TextHeight = 13
  object Image1: TImage
    Left = 0
    Top = 0
    Width = 150
    Height = 150
    Visible = False
  end
  object Shape1: TShape
    Left = 0
    Top = 150
    Width = 25
    Height = 25
    Shape = stCircle
  end
  object ZoomColorEdit: TEdit
    Left = 28
    Top = 155
    Width = 59
    Height = 17
    BorderStyle = bsNone
    Text = '#'
  end
  object CaptureLabel: TTntLabel
    Left = 93
    Top = 154
    Caption = '[Esc]'
    Font.Color = clRed
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Timer1: TTimer
    Interval = 25
    OnTimer = Timer1Timer
  end
end
